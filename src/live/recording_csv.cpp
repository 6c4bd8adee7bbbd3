#include "live/recording_csv.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "live/live_display.h"
#include "live/log_csv.h"
#include "model/fixed_text.h"

namespace kaldor {
namespace {

constexpr std::uint32_t kMaxWord = 65535;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Splits a CSV line into its cells: quoted cells may hold separators and doubled quotes.
// Nothing when a quote is left open.
std::optional<std::vector<std::string>> csvCells(std::string_view line) {
    std::vector<std::string> cells(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                cells.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                cells.back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            cells.emplace_back();
        } else {
            cells.back() += c;
        }
    }
    if (quoted)
        return std::nullopt;
    return cells;
}

std::optional<double> number(std::string_view text) {
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

// Turns an exported cell back into the word it was converted from: the word whose value, at
// the column's decimals, reads as the cell (the nearest one when several do). The engine speed
// stays in rpm: which period it came from depends on a set-up the file does not name.
class CellInverse {
public:
    explicit CellInverse(const LiveSignalDef& def) : m_def(def) {}

    std::optional<std::uint16_t> word(const std::string& cell) {
        if (const auto found = m_memo.find(cell); found != m_memo.end())
            return found->second;
        const std::optional<std::uint16_t> w = search(cell);
        if (w)
            m_memo.emplace(cell, *w);
        return w;
    }

private:
    std::optional<std::uint16_t> search(const std::string& cell) {
        const std::optional<double> v = number(cell);
        if (!v)
            return std::nullopt;
        if (m_def.id == LiveSignal::EngineSpeed) {
            if (*v < 0 || *v > kMaxWord || *v != static_cast<double>(static_cast<long>(*v)))
                return std::nullopt;
            return static_cast<std::uint16_t>(*v);
        }
        if (m_sorted.empty())
            buildTable();
        double halfStep = 0.5;
        for (int d = 0; d < m_def.csv.decimals; ++d)
            halfStep /= 10;
        auto it = std::lower_bound(m_sorted.begin(), m_sorted.end(), *v - halfStep * 1.000001,
                                   [](const Entry& e, double x) { return e.first < x; });
        std::optional<std::uint16_t> best;
        double bestDistance = 0;
        bool bestReads = false;
        for (; it != m_sorted.end() && it->first <= *v + halfStep * 1.000001; ++it) {
            const bool reads = fixedText(it->first, m_def.csv.decimals) == cell;
            const double distance = std::abs(it->first - *v);
            if (!best || (reads && !bestReads) || (reads == bestReads && distance < bestDistance)) {
                best = it->second;
                bestDistance = distance;
                bestReads = reads;
            }
        }
        return best;
    }

    // Every word's value, ordered by value.
    void buildTable() {
        m_sorted.reserve(kMaxWord + 1);
        LiveFrame frame;
        const LiveContext context;
        for (std::uint32_t w = 0; w <= kMaxWord; ++w) {
            frame.setWord(m_def.word, static_cast<std::uint16_t>(w));
            m_sorted.emplace_back(liveValue(frame, m_def.id, context),
                                  static_cast<std::uint16_t>(w));
        }
        std::sort(m_sorted.begin(), m_sorted.end());
    }

    using Entry = std::pair<double, std::uint16_t>;
    const LiveSignalDef& m_def;
    std::vector<Entry> m_sorted;
    std::unordered_map<std::string, std::uint16_t> m_memo;
};

// The CSV the export writes: a header row naming the export's columns, then one row per record
// (time, then the columns). Lines may end in CR LF or LF.
class CsvParser final : public RecordParser {
public:
    CsvParser(RecordingBuilder& builder, std::size_t maxLineBytes, const StatusTexts& texts)
        : m_builder(builder), m_maxLineBytes(maxLineBytes), m_texts(texts) {
        for (const LiveSignalDef* c : logCsvColumns()) {
            m_columns.emplace_back(*c);
            m_builder.carry(c->word);
        }
    }

    bool feed(const char* data, std::size_t size) override {
        for (std::size_t i = 0; i < size; ++i) {
            const char c = data[i];
            if (c == '\n') {
                if (!endLine())
                    return false;
                continue;
            }
            if (c == '\0')
                return fail("holds a character that is neither text nor a number");
            if (m_line.size() >= m_maxLineBytes)
                return fail("is longer than " + std::to_string(m_maxLineBytes) + " characters");
            m_line += c;
        }
        return true;
    }

    bool finish(std::string& note) override {
        if (m_line.empty())
            return true;
        // A row cut short is what a file still being written ends with.
        const std::optional<std::vector<std::string>> cells = csvCells(stripped());
        if (!cells || cells->size() != m_columns.size() + 1) {
            note = "The last line is incomplete and is left out.";
            return true;
        }
        return endLine();
    }

    [[nodiscard]] const std::optional<LineFault>& fault() const override { return m_fault; }

private:
    std::string_view stripped() const {
        std::string_view line = m_line;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        return line;
    }

    bool endLine() {
        const bool ok = m_lineNumber == 1 ? header() : row();
        if (!ok)
            return false;
        m_line.clear();
        ++m_lineNumber;
        return true;
    }

    bool header() {
        std::string_view line = stripped();
        if (line.substr(0, kByteOrderMark.size()) == kByteOrderMark)
            line.remove_prefix(kByteOrderMark.size());
        const auto cells = csvCells(line);
        if (!cells || *cells != logCsvHeaderCells())
            return fail("does not name the columns \"export log as CSV\" writes");
        return true;
    }

    bool row() {
        const std::string_view line = stripped();
        if (line.empty())
            return true;
        const auto cells = csvCells(line);
        if (!cells)
            return fail("leaves a quote open");
        if (cells->size() != m_columns.size() + 1)
            return fail("holds " + std::to_string(cells->size()) + " cells; a row has " +
                        std::to_string(m_columns.size() + 1));
        if (!number((*cells)[0]))
            return fail("has no time in its first cell");
        for (std::size_t i = 0; i < m_columns.size(); ++i) {
            const LiveSignalDef& def = *logCsvColumns()[i];
            const std::string& cell = (*cells)[i + 1];
            if (def.id == LiveSignal::FuelMode) {
                const std::optional<std::uint16_t> mode = fuelModeNumber(cell);
                if (!mode)
                    return fail("names the fuel mode \"" + cell + "\", which is none of them");
                m_builder.slot(def.word) = static_cast<std::uint16_t>(*mode << def.bit);
                continue;
            }
            const std::optional<std::uint16_t> word = m_columns[i].word(cell);
            if (!word)
                return fail("holds \"" + cell + "\" as " + def.name + ", which no record reads");
            m_builder.slot(def.word) = *word;
        }
        return m_builder.commit();
    }

    std::optional<std::uint16_t> fuelModeNumber(const std::string& cell) const {
        static const StatusTexts kBuiltIn;
        for (const StatusTexts* texts : {&m_texts, &kBuiltIn})
            for (const FuelMode mode :
                 {FuelMode::Diesel, FuelMode::Auto, FuelMode::Propane, FuelMode::Error})
                if (fuelModeText(mode, *texts) == cell)
                    return static_cast<std::uint16_t>(mode);
        return std::nullopt;
    }

    bool fail(std::string reason) {
        m_builder.clearSlots();
        m_fault = LineFault{m_lineNumber, std::move(reason)};
        return false;
    }

    RecordingBuilder& m_builder;
    std::size_t m_maxLineBytes;
    const StatusTexts& m_texts;
    std::vector<CellInverse> m_columns;
    std::string m_line;
    std::uint64_t m_lineNumber = 1;
    std::optional<LineFault> m_fault;
};

}  // namespace

std::unique_ptr<RecordParser> makeCsvParser(RecordingBuilder& builder, std::size_t maxLineBytes,
                                            const StatusTexts& texts) {
    return std::make_unique<CsvParser>(builder, maxLineBytes, texts);
}

bool looksLikeExportCsv(std::string_view start) {
    if (start.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        start.remove_prefix(kByteOrderMark.size());
    const std::string time = logCsvHeaderCells().front();
    return start.substr(0, time.size()) == time;
}

}  // namespace kaldor

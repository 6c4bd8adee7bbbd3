#include "live/recording.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "live/live_display.h"
#include "live/log_csv.h"
#include "model/fixed_text.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace kaldor {

bool Recording::carries(LiveSignal id) const {
    const LiveSignalDef& d = liveSignalDef(id);
    if (d.raw == LiveRawType::U32)
        return carries(d.word) && carries(d.word + std::size_t{1});
    if (d.codec == LiveCodec::PressureDifference)
        return carries(d.word) && carries(liveSignalDef(LiveSignal::GasPressure).word);
    return carries(d.word);
}

LiveFrame Recording::frame(std::size_t record) const {
    LiveFrame f;
    if (record >= m_size)
        return f;
    for (std::size_t w = 0; w < kWords; ++w)
        f.setWord(w, word(record, w));
    return f;
}

std::size_t availableMemoryBytes() {
#ifdef _WIN32
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (GlobalMemoryStatusEx(&status) != 0)
        return static_cast<std::size_t>(status.ullAvailPhys);
    return 0;
#else
    std::ifstream meminfo("/proc/meminfo");
    std::string key;
    std::size_t kib = 0;
    std::string unit;
    while (meminfo >> key >> kib >> unit)
        if (key == "MemAvailable:")
            return kib * 1024;
    return 0;
#endif
}

// Fills the records block by block: values go into a staging block, column by column, and a
// full block keeps each column only where its values differ.
class RecordingBuilder {
public:
    RecordingBuilder(RecordingFormat format, std::size_t budget)
        : m_recording(std::make_shared<Recording>()),
          m_stage(Recording::kWords * Recording::kBlockRecords, 0),
          m_budget(budget) {
        m_recording->m_format = format;
    }

    // The slot of word `w` of the record being built.
    std::uint16_t& slot(std::size_t w) { return m_stage[w * Recording::kBlockRecords + m_staged]; }
    void carry(std::size_t w) { m_recording->m_carried.set(w); }
    void carryAll() { m_recording->m_carried.set(); }

    // The record being built is complete. False when the records no longer fit the budget.
    [[nodiscard]] bool commit() {
        ++m_staged;
        return m_staged < Recording::kBlockRecords || flush();
    }
    // A record that will not be committed leaves nothing behind in its slots.
    void clearSlots() {
        for (std::size_t w = 0; w < Recording::kWords; ++w)
            slot(w) = 0;
    }

    [[nodiscard]] bool finish() { return m_staged == 0 || flush(); }
    [[nodiscard]] std::size_t records() const { return m_recording->m_size + m_staged; }
    [[nodiscard]] std::shared_ptr<const Recording> take() { return std::move(m_recording); }

private:
    bool flush() {
        Recording& r = *m_recording;
        Recording::Block block;
        std::size_t bytes = sizeof(Recording::Block);
        for (std::size_t w = 0; w < Recording::kWords; ++w) {
            const std::uint16_t* values = m_stage.data() + w * Recording::kBlockRecords;
            Recording::Column& column = block.words[w];
            const auto [low, high] = std::minmax_element(values, values + m_staged);
            column.base = *low;
            if (*low == *high)
                continue;
            const bool narrow = *high - *low <= 0xFF;
            const std::size_t columnBytes =
                m_staged * (narrow ? sizeof(std::uint8_t) : sizeof(std::uint16_t));
            if (r.m_heldBytes + bytes + columnBytes > m_budget)
                return false;
            bytes += columnBytes;
            try {
                if (narrow) {
                    column.narrow.reset(new std::uint8_t[m_staged]);
                    std::transform(values, values + m_staged, column.narrow.get(),
                                   [base = column.base](std::uint16_t v) {
                                       return static_cast<std::uint8_t>(v - base);
                                   });
                } else {
                    column.wide.reset(new std::uint16_t[m_staged]);
                    std::memcpy(column.wide.get(), values, m_staged * sizeof(std::uint16_t));
                }
            } catch (const std::bad_alloc&) {
                return false;
            }
        }
        try {
            r.m_blocks.push_back(std::move(block));
        } catch (const std::bad_alloc&) {
            return false;
        }
        r.m_heldBytes += bytes;
        r.m_size += m_staged;
        m_staged = 0;
        std::fill(m_stage.begin(), m_stage.end(), std::uint16_t{0});
        return true;
    }

    std::shared_ptr<Recording> m_recording;
    std::vector<std::uint16_t> m_stage;
    std::size_t m_staged = 0;
    std::size_t m_budget;
};

namespace {

constexpr std::size_t kReadChunk = 1 << 20;
constexpr std::size_t kDemoValues = LiveFrame::kWords;
constexpr std::uint32_t kMaxWord = 65535;
constexpr std::size_t kMaxDigits = 5;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// Without a figure from the machine the reader allows itself this much.
constexpr std::size_t kFallbackBudget = std::size_t{1} << 30;

std::string megabytes(std::size_t bytes) {
    return std::to_string((bytes + (1 << 20) - 1) >> 20) + " MB";
}

// A failure on a numbered line, said once.
struct Failure {
    std::uint64_t line = 0;
    std::string reason;
};

// The "demo.log" format: 96 decimal numbers up to 65535, each followed by a comma, then a line
// feed; a carriage return may stand before the line feed. Blank lines are skipped.
class DemoLogParser {
public:
    DemoLogParser(RecordingBuilder& builder, std::size_t maxLineBytes)
        : m_builder(builder), m_maxLineBytes(maxLineBytes) {
        m_builder.carryAll();
    }

    // False on the first fault: `failure` says where and why.
    bool feed(const char* data, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i) {
            const char c = data[i];
            if (c >= '0' && c <= '9') {
                if (m_carriageReturn)
                    return fail("holds characters after a carriage return");
                if (++m_digits > kMaxDigits)
                    return fail("holds a number of more than five digits");
                m_token = m_token * 10 + static_cast<std::uint32_t>(c - '0');
            } else if (c == ',') {
                if (m_carriageReturn)
                    return fail("holds characters after a carriage return");
                if (m_digits == 0)
                    return fail("holds an empty value");
                if (m_token > kMaxWord)
                    return fail("holds a value above 65535");
                if (m_values == kDemoValues)
                    return fail("holds more than 96 values");
                m_builder.slot(m_values++) = static_cast<std::uint16_t>(m_token);
                m_token = 0;
                m_digits = 0;
            } else if (c == '\n') {
                if (!endLine())
                    return false;
                continue;
            } else if (c == '\r') {
                m_carriageReturn = true;
            } else {
                return fail("holds a character that is neither a digit nor a comma");
            }
            if (++m_lineBytes > m_maxLineBytes)
                return fail("is longer than " + std::to_string(m_maxLineBytes) + " characters");
        }
        return true;
    }

    // At the end of the file: a last line without its line feed counts when it is a whole
    // record; otherwise it is left out (the logger may be writing it), and said so.
    bool finish(std::string& note) {
        if (m_values == kDemoValues && m_digits == 0)
            return endLine();
        if (m_values > 0 || m_digits > 0) {
            m_builder.clearSlots();
            note = "The last line is incomplete and is left out.";
        }
        return true;
    }

    [[nodiscard]] const Failure& failure() const { return m_failure; }
    [[nodiscard]] bool overBudget() const { return m_overBudget; }

private:
    bool endLine() {
        const bool blank = m_values == 0 && m_digits == 0;
        if (!blank) {
            if (m_digits > 0)
                return fail("ends with a number without its comma");
            if (m_values < kDemoValues)
                return fail("holds " + std::to_string(m_values) + " values; a record has 96");
            if (!m_builder.commit()) {
                m_overBudget = true;
                return false;
            }
        }
        ++m_line;
        m_values = 0;
        m_lineBytes = 0;
        m_carriageReturn = false;
        return true;
    }

    bool fail(std::string reason) {
        m_failure = {m_line, std::move(reason)};
        return false;
    }

    RecordingBuilder& m_builder;
    std::size_t m_maxLineBytes;
    std::uint64_t m_line = 1;
    std::size_t m_values = 0;
    std::size_t m_lineBytes = 0;
    std::uint32_t m_token = 0;
    std::size_t m_digits = 0;
    bool m_carriageReturn = false;
    bool m_overBudget = false;
    Failure m_failure;
};

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
class CsvParser {
public:
    CsvParser(RecordingBuilder& builder, std::size_t maxLineBytes, const StatusTexts& texts)
        : m_builder(builder), m_maxLineBytes(maxLineBytes), m_texts(texts) {
        for (const LiveSignalDef* c : logCsvColumns()) {
            m_columns.emplace_back(*c);
            m_builder.carry(c->word);
        }
    }

    bool feed(const char* data, std::size_t size) {
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

    bool finish(std::string& note) {
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

    [[nodiscard]] const Failure& failure() const { return m_failure; }
    [[nodiscard]] bool overBudget() const { return m_overBudget; }

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
        if (!m_builder.commit()) {
            m_overBudget = true;
            return false;
        }
        return true;
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
        m_failure = {m_lineNumber, std::move(reason)};
        return false;
    }

    RecordingBuilder& m_builder;
    std::size_t m_maxLineBytes;
    const StatusTexts& m_texts;
    std::vector<CellInverse> m_columns;
    std::string m_line;
    std::uint64_t m_lineNumber = 1;
    bool m_overBudget = false;
    Failure m_failure;
};

bool looksLikeCsv(std::string_view start) {
    if (start.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        start.remove_prefix(kByteOrderMark.size());
    const std::string time = logCsvHeaderCells().front();
    return start.substr(0, time.size()) == time;
}

std::string quoted(const std::string& path) {
    return "\"" + std::filesystem::path(path).filename().string() + "\"";
}

RecordingRead refused(std::string message) {
    RecordingRead read;
    read.message = std::move(message);
    return read;
}

// Where the bytes come from: a file, or the lines a running logger holds.
struct ByteSource {
    std::FILE* file = nullptr;
    std::string_view text;

    std::size_t read(char* buffer, std::size_t size) {
        if (file != nullptr)
            return std::fread(buffer, 1, size, file);
        const std::size_t n = std::min(size, text.size());
        std::memcpy(buffer, text.data(), n);
        text.remove_prefix(n);
        return n;
    }
    [[nodiscard]] bool failed() const { return file != nullptr && std::ferror(file) != 0; }
};

// Both parsers behind one face.
template <class Parser>
RecordingRead readWith(Parser& parser, RecordingBuilder& builder, ByteSource& source,
                       std::vector<char>& chunk, std::size_t firstSize, const std::string& path,
                       std::size_t budget, ReadProgress* progress) {
    std::size_t n = firstSize;
    std::uint64_t total = 0;
    bool ok = true;
    while (n > 0) {
        if (progress != nullptr && progress->cancel.load(std::memory_order_relaxed)) {
            RecordingRead read;
            read.cancelled = true;
            return read;
        }
        ok = parser.feed(chunk.data(), n);
        total += n;
        if (progress != nullptr)
            progress->bytesRead.store(total, std::memory_order_relaxed);
        if (!ok)
            break;
        n = source.read(chunk.data(), chunk.size());
    }
    if (ok && source.failed())
        return refused("Could not read " + quoted(path) + ".");
    std::string note;
    if (ok)
        ok = parser.finish(note) && builder.finish();
    if (!ok && (parser.overBudget() || parser.failure().reason.empty()))
        return refused(quoted(path) +
                       " is too large for the memory this computer has free: after " +
                       std::to_string(builder.records()) + " records it would take more than " +
                       megabytes(budget) + ".");
    if (!ok)
        return refused(quoted(path) + " is not a recording: line " +
                       std::to_string(parser.failure().line) + " " + parser.failure().reason + ".");
    if (builder.records() == 0)
        return refused(quoted(path) + " holds no records." + (note.empty() ? "" : " " + note));
    RecordingRead read;
    read.recording = builder.take();
    read.message = note;
    return read;
}

RecordingRead readFrom(ByteSource& source, std::uint64_t bytes, const std::string& path,
                       const RecordingReadOptions& options, ReadProgress* progress) {
    if (progress != nullptr)
        progress->fileBytes.store(bytes);
    std::size_t budget = options.memoryBudget;
    if (budget == 0) {
        const std::size_t free = availableMemoryBytes();
        budget = free > 0 ? free / 4 * 3 : kFallbackBudget;
    }
    try {
        std::vector<char> chunk(kReadChunk);
        const std::size_t first = source.read(chunk.data(), chunk.size());
        const bool csv = looksLikeCsv(std::string_view(chunk.data(), first));
        RecordingBuilder builder(csv ? RecordingFormat::Csv : RecordingFormat::DemoLog, budget);
        if (csv) {
            CsvParser parser(builder, options.maxLineBytes, options.texts);
            return readWith(parser, builder, source, chunk, first, path, budget, progress);
        }
        DemoLogParser parser(builder, options.maxLineBytes);
        return readWith(parser, builder, source, chunk, first, path, budget, progress);
    } catch (const std::bad_alloc&) {
        return refused(quoted(path) + " is too large for the memory this computer has free.");
    }
}

}  // namespace

RecordingRead readRecording(const std::string& path, const RecordingReadOptions& options,
                            ReadProgress* progress) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return refused("Could not open " + quoted(path) + ": it is not a file.");
    ByteSource source;
    source.file = std::fopen(path.c_str(), "rb");
    if (source.file == nullptr)
        return refused("Could not open " + quoted(path) + ".");
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    RecordingRead read =
        readFrom(source, error ? 0 : static_cast<std::uint64_t>(size), path, options, progress);
    std::fclose(source.file);
    return read;
}

RecordingRead readRecordingText(const std::string& name, std::string_view text,
                                const RecordingReadOptions& options, ReadProgress* progress) {
    ByteSource source;
    source.text = text;
    return readFrom(source, text.size(), name, options, progress);
}

RecordingReadTask::RecordingReadTask(std::string path, RecordingReadOptions options)
    : m_thread([this, path = std::move(path), options = std::move(options)] {
          m_result = readRecording(path, options, &m_progress);
          m_done.store(true, std::memory_order_release);
      }) {}

RecordingReadTask::RecordingReadTask(std::string name, std::string text,
                                     RecordingReadOptions options)
    : m_thread(
          [this, name = std::move(name), text = std::move(text), options = std::move(options)] {
              m_result = readRecordingText(name, text, options, &m_progress);
              m_done.store(true, std::memory_order_release);
          }) {}

RecordingReadTask::~RecordingReadTask() {
    cancel();
    m_thread.join();
}

double RecordingReadTask::fraction() const {
    const std::uint64_t total = m_progress.fileBytes.load(std::memory_order_relaxed);
    if (total == 0)
        return 0;
    return std::min(1.0, static_cast<double>(m_progress.bytesRead.load(std::memory_order_relaxed)) /
                             static_cast<double>(total));
}

RecordingRead RecordingReadTask::take() {
    if (!done())
        return {};
    return std::move(m_result);
}

}  // namespace kaldor

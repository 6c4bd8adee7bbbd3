#include "live/log_csv.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <vector>

#include "files/atomic_file.h"
#include "live/data_logger.h"
#include "live/live_display.h"
#include "live/live_frame.h"
#include "live/live_signals.h"
#include "model/fixed_text.h"

namespace kaldor {
namespace {}  // namespace

// The exported signals in column order, from the table's CSV column.
const std::vector<const LiveSignalDef*>& logCsvColumns() {
    static const std::vector<const LiveSignalDef*> kColumns = [] {
        std::vector<const LiveSignalDef*> columns;
        for (const LiveSignalDef& def : liveSignals())
            if (def.csv.column > 0)
                columns.push_back(&def);
        std::sort(columns.begin(), columns.end(),
                  [](const LiveSignalDef* a, const LiveSignalDef* b) {
                      return a->csv.column < b->csv.column;
                  });
        return columns;
    }();
    return kColumns;
}

namespace {

constexpr const char* kTimeHeader = "time [s]";
// Spreadsheets take the file as UTF-8 only with the mark.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kReadChunk = 64 * 1024;

// A cell with a separator, a quote or a line break is quoted, its quotes doubled.
std::string cell(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string value(const LiveSignalDef& c, const CsvValueOf& valueOf, const StatusTexts& texts) {
    if (c.id == LiveSignal::FuelMode)
        return cell(fuelModeText(static_cast<FuelMode>(valueOf(c.id)), texts));
    return fixedText(valueOf(c.id), c.csv.decimals);
}

std::string headerRow() {
    std::string row(kByteOrderMark);
    row += cell(kTimeHeader);
    for (const LiveSignalDef* c : logCsvColumns())
        row += "," + cell(liveCsvHeader(*c));
    row += kLineEnd;
    return row;
}

// Time in tenths of a second, written from integers so 0.3 is exactly "0.3".
void appendRow(std::string& csv, std::size_t record, const CsvValueOf& valueOf,
               const StatusTexts& texts) {
    csv += std::to_string(record / 10) + "." + std::to_string(record % 10);
    for (const LiveSignalDef* c : logCsvColumns())
        csv += "," + value(*c, valueOf, texts);
    csv += kLineEnd;
}

// Reads the "demo.log" format piece by piece, as playback reads it, and hands on every line
// that holds at least one value.
class RecordReader {
public:
    RecordReader(int rpmSignalType, const StatusTexts& texts) : m_texts(texts) {
        m_context.rpmSignalType = rpmSignalType;
        m_csv = headerRow();
    }

    void feed(const char* data, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i) {
            const char c = data[i];
            if (c == ',') {
                if (m_value < LiveFrame::kWords)
                    m_frame.setWord(m_value, tokenValue());
                ++m_value;
                m_token = 0;
                m_chars = 0;
                m_isNumber = true;
            } else if (c == '\n') {
                endLine();
            } else {
                if (m_chars <= DataLogger::kMaxTokenChars)
                    ++m_chars;
                if (c >= '0' && c <= '9' && m_chars <= DataLogger::kMaxTokenChars)
                    m_token = m_token * 10 + static_cast<std::uint32_t>(c - '0');
                else if (c < '0' || c > '9')
                    m_isNumber = false;
            }
        }
    }

    // A last line without a line feed still counts.
    std::string finish() {
        endLine();
        return std::move(m_csv);
    }

    [[nodiscard]] std::size_t records() const { return m_records; }

private:
    std::uint16_t tokenValue() const {
        const bool valid = m_isNumber && m_chars > 0 && m_chars <= DataLogger::kMaxTokenChars &&
                           m_token <= std::numeric_limits<std::uint16_t>::max();
        return valid ? static_cast<std::uint16_t>(m_token) : 0;
    }

    void endLine() {
        if (m_value > 0)
            addRow();
        m_frame = LiveFrame();
        m_value = 0;
        m_token = 0;
        m_chars = 0;
        m_isNumber = true;
    }

    void addRow() {
        appendRow(
            m_csv, m_records, [this](LiveSignal id) { return liveValue(m_frame, id, m_context); },
            m_texts);
        ++m_records;
    }

    LiveContext m_context;  // the export knows the rpm signal type only
    const StatusTexts& m_texts;
    std::string m_csv;
    std::size_t m_records = 0;
    LiveFrame m_frame;
    std::size_t m_value = 0;
    std::uint32_t m_token = 0;
    std::size_t m_chars = 0;
    bool m_isNumber = true;
};

CsvExport written(const std::string& csv, std::size_t records, const std::string& csvPath) {
    CsvExport result;
    if (const auto reason = writeFileAtomically(csvPath, csv)) {
        result.message = "Could not write \"" + csvPath + "\": " + *reason;
        return result;
    }
    result.written = true;
    result.records = records;
    return result;
}

FileFilter filterFor(std::string_view pattern) {
    return {std::string(pattern), std::string(pattern)};
}

}  // namespace

std::vector<std::string> logCsvHeaderCells() {
    std::vector<std::string> cells{kTimeHeader};
    for (const LiveSignalDef* c : logCsvColumns())
        cells.push_back(liveCsvHeader(*c));
    return cells;
}

std::string recordsCsv(std::size_t count, const CsvRecordValue& valueOf, const StatusTexts& texts) {
    std::string csv = headerRow();
    for (std::size_t r = 0; r < count; ++r)
        appendRow(
            csv, r, [&valueOf, r](LiveSignal id) { return valueOf(r, id); }, texts);
    return csv;
}

std::string logCsv(std::string_view logText, int rpmSignalType, const StatusTexts& texts) {
    RecordReader reader(rpmSignalType, texts);
    reader.feed(logText.data(), logText.size());
    return reader.finish();
}

DemoLogCsv demoLogCsv(const std::string& demoLogPath, int rpmSignalType, const StatusTexts& texts) {
    DemoLogCsv result;
    std::FILE* f = std::fopen(demoLogPath.c_str(), "rb");
    if (f == nullptr) {
        result.message = "Could not open \"" + demoLogPath + "\".";
        return result;
    }
    RecordReader reader(rpmSignalType, texts);
    std::vector<char> chunk(kReadChunk);
    std::size_t n = 0;
    while ((n = std::fread(chunk.data(), 1, chunk.size(), f)) > 0)
        reader.feed(chunk.data(), n);
    // A folder of that name opens but does not read; half a file is no export either.
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) {
        result.message = "Could not read \"" + demoLogPath + "\".";
        return result;
    }
    result.csv = reader.finish();
    result.records = reader.records();
    return result;
}

CsvExport exportDemoLogCsv(const std::string& demoLogPath, int rpmSignalType,
                           const std::string& csvPath, const StatusTexts& texts) {
    const DemoLogCsv table = demoLogCsv(demoLogPath, rpmSignalType, texts);
    if (!table.csv) {
        CsvExport result;
        result.message = table.message;
        return result;
    }
    return written(*table.csv, table.records, csvPath);
}

FileQuestion csvSaveQuestion(const std::string& initialFolder) {
    FileQuestion q;
    q.filters = {filterFor(kCsvPattern)};
    q.defaultExtension = std::string(kCsvExtension);
    q.initialFolder = initialFolder;
    return q;
}

FileQuestion demoLogOpenQuestion(const std::string& initialFolder) {
    FileQuestion q;
    q.filters = {filterFor(kDemoLogPattern)};
    q.initialFolder = initialFolder;
    q.fileName = DataLogger::kFileName;
    return q;
}

}  // namespace kaldor

#include "live/log_csv.h"

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "files/atomic_file.h"
#include "live/data_logger.h"
#include "live/demo_log_reader.h"
#include "live/live_display.h"
#include "live/trace_pyramid.h"
#include "model/fixed_text.h"

namespace kaldor {

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

LiveContext exportContext(int rpmSignalType) {
    LiveContext context;  // a "demo.log" names no set-up: the export knows the rpm signal type only
    context.rpmSignalType = rpmSignalType;
    return context;
}

// The rows of "demo.log" text: any text reads, as the CSV has always been made of it.
DemoLogReader rowsInto(LogCsvWriter& writer) {
    return DemoLogReader(DemoLogMode::Lenient, [&writer](const DemoLogReader::Words& words) {
        LiveFrame frame;
        for (std::size_t w = 0; w < words.size(); ++w)
            frame.setWord(w, words[w]);
        writer.add(frame);
        return true;
    });
}

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

LogCsvWriter::LogCsvWriter(const LiveContext& context, bool engineSpeedInRpm, StatusTexts texts)
    : m_context(context),
      m_engineSpeedInRpm(engineSpeedInRpm),
      m_texts(std::move(texts)),
      m_csv(headerRow()) {}

void LogCsvWriter::add(const LiveFrame& record) {
    add([this, &record](LiveSignal id) {
        return recordValue(record, id, m_context, m_engineSpeedInRpm);
    });
}

// Time in tenths of a second, written from integers so 0.3 is exactly "0.3".
void LogCsvWriter::add(const CsvValueOf& valueOf) {
    m_csv += std::to_string(m_records / 10) + "." + std::to_string(m_records % 10);
    for (const LiveSignalDef* c : logCsvColumns())
        m_csv += "," + value(*c, valueOf, m_texts);
    m_csv += kLineEnd;
    ++m_records;
}

std::string recordsCsv(std::size_t count, const CsvRecordValue& valueOf, const StatusTexts& texts) {
    LogCsvWriter writer({}, false, texts);
    for (std::size_t r = 0; r < count; ++r)
        writer.add([&valueOf, r](LiveSignal id) { return valueOf(r, id); });
    return writer.take();
}

std::string recordingCsv(const Recording& recording, std::size_t first, std::size_t last,
                         const LiveContext& context, const StatusTexts& texts) {
    LogCsvWriter writer(context, recording.engineSpeedInRpm(), texts);
    for (std::size_t r = first; r < std::min(last, recording.size()); ++r)
        writer.add(recording.frame(r));
    return writer.take();
}

std::string logCsv(std::string_view logText, int rpmSignalType, const StatusTexts& texts) {
    LogCsvWriter writer(exportContext(rpmSignalType), false, texts);
    DemoLogReader reader = rowsInto(writer);
    reader.feed(logText);
    reader.finish();
    return writer.take();
}

DemoLogCsv demoLogCsv(const std::string& demoLogPath, int rpmSignalType, const StatusTexts& texts) {
    DemoLogCsv result;
    std::FILE* f = std::fopen(demoLogPath.c_str(), "rb");
    if (f == nullptr) {
        result.message = "Could not open \"" + demoLogPath + "\".";
        return result;
    }
    LogCsvWriter writer(exportContext(rpmSignalType), false, texts);
    DemoLogReader reader = rowsInto(writer);
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
    reader.finish();
    result.records = writer.records();
    result.csv = writer.take();
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

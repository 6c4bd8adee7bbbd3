#pragma once
// "export log as CSV": the logged live records, or those of a chosen "demo.log", as a table a
// spreadsheet opens as it is: a header row of names with their units, one row per record with
// its time (100 ms a record), engine speed in rpm, pressures in bar, temperatures in degrees C,
// voltages in V and the fuel mode as text. Comma separated, '.' as the decimal point whatever the
// process locale, CR LF line ends, UTF-8 with a byte-order mark so the degree sign reads right.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "live/live_frame.h"
#include "live/live_signals.h"
#include "live/recording.h"
#include "live/status_texts.h"
#include "model/prompts.h"

namespace kaldor {

inline constexpr std::string_view kCsvExtension = "csv";
inline constexpr std::string_view kCsvPattern = "*.csv";
inline constexpr std::string_view kDemoLogPattern = "*.log";

// The exported signals in column order; the time comes before them.
[[nodiscard]] const std::vector<const LiveSignalDef*>& logCsvColumns();
// The header row's cells as they read after unquoting: the time, then each column's name and unit.
[[nodiscard]] std::vector<std::string> logCsvHeaderCells();

// A signal's value as a record shows it (the fuel mode as its number).
using CsvValueOf = std::function<double(LiveSignal id)>;
using CsvRecordValue = std::function<double(std::size_t record, LiveSignal id)>;

// The one writer of the table, behind both exports: "export log as CSV" (the window and
// kaldor-cli log2csv) and the log viewer's "export range as CSV". The header comes first; the
// rows' time counts from 0 whatever record they come from.
class LogCsvWriter {
public:
    // `context` converts the records' words as the live pages do; `engineSpeedInRpm`: the
    // records hold their engine speed as rpm already (a recording read from a CSV).
    explicit LogCsvWriter(const LiveContext& context = {}, bool engineSpeedInRpm = false,
                          StatusTexts texts = {});
    // One row: the record's values.
    void add(const LiveFrame& record);
    // One row: the values `valueOf` gives.
    void add(const CsvValueOf& valueOf);
    [[nodiscard]] std::size_t records() const { return m_records; }
    [[nodiscard]] std::string take() { return std::move(m_csv); }

private:
    LiveContext m_context;
    bool m_engineSpeedInRpm;
    StatusTexts m_texts;
    std::string m_csv;
    std::size_t m_records = 0;
};

// The CSV of `count` records whose values `valueOf` gives.
[[nodiscard]] std::string recordsCsv(std::size_t count, const CsvRecordValue& valueOf,
                                     const StatusTexts& texts = {});
// The CSV of the records from `first` up to `last` (not included) of a recording, as the log
// viewer shows them under `context`.
[[nodiscard]] std::string recordingCsv(const Recording& recording, std::size_t first,
                                       std::size_t last, const LiveContext& context,
                                       const StatusTexts& texts = {});

// The CSV of log text in the "demo.log" format, read as DemoLogMode::Lenient reads it: a value
// that is not a number up to 65535 counts as 0, what follows a line's last comma is ignored, a
// line without any value is no record. `rpmSignalType` is the image's RpmSignalType, which
// turns the period word into rpm. The fuel mode reads as `texts` name it.
[[nodiscard]] std::string logCsv(std::string_view logText, int rpmSignalType,
                                 const StatusTexts& texts = {});

struct CsvExport {
    bool written = false;
    std::size_t records = 0;
    std::string message;  // why nothing was written
};

// The CSV of a "demo.log" file; nothing, and the reason, when the file could not be read.
struct DemoLogCsv {
    std::optional<std::string> csv;
    std::size_t records = 0;
    std::string message;
};
[[nodiscard]] DemoLogCsv demoLogCsv(const std::string& demoLogPath, int rpmSignalType,
                                    const StatusTexts& texts = {});
// A "demo.log" file (or the recording of this run) into `csvPath`, written whole or not at all.
[[nodiscard]] CsvExport exportDemoLogCsv(const std::string& demoLogPath, int rpmSignalType,
                                         const std::string& csvPath, const StatusTexts& texts = {});

// The save dialog of the export ("*.csv") and the open dialog of a log to export ("*.log").
[[nodiscard]] FileQuestion csvSaveQuestion(const std::string& initialFolder);
[[nodiscard]] FileQuestion demoLogOpenQuestion(const std::string& initialFolder);

}  // namespace kaldor

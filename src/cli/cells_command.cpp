// `cells`: where a recorded drive ran on the main map, cell by cell, as text or JSON.
#include <iomanip>
#include <locale>
#include <sstream>

#include "cli/command_context.h"
#include "cli/controller_connection.h"
#include "cli/json_text.h"
#include "live/recording.h"
#include "live/recording_setup.h"
#include "maps/cell_statistics.h"
#include "model/fixed_text.h"

namespace kaldor::cli {
namespace {

// The shortest text that reads back as the same double, whatever the locale.
std::string jsonNumber(double value) {
    std::string text;
    for (int precision = 1; precision <= 17; ++precision) {
        std::ostringstream out;
        out.imbue(std::locale::classic());
        out << std::setprecision(precision) << value;
        text = out.str();
        std::istringstream in(text);
        in.imbue(std::locale::classic());
        double back = 0;
        in >> back;
        if (back == value)
            break;
    }
    return text;
}

// Records are a tenth of a second apart: the time is exact in one decimal.
std::string secondsText(std::size_t records) {
    return std::to_string(records / 10) + "." + std::to_string(records % 10);
}

std::string outsideJson(const OutsideRecords& o) {
    return "{\"records\": " + std::to_string(o.total()) +
           ", \"engineStopped\": " + std::to_string(o.engineStopped) +
           ", \"axisSignalMissing\": " + std::to_string(o.axisSignalMissing) +
           ", \"unknownMapType\": " + std::to_string(o.unknownMapType) + "}";
}

std::string outsideText(const OutsideRecords& o) {
    std::string text = std::to_string(o.total()) + " records placed in no cell";
    std::string why;
    const auto reason = [&](std::size_t n, const char* what) {
        if (n > 0)
            why += (why.empty() ? "" : ", ") + std::string(what) + " " + std::to_string(n);
    };
    reason(o.engineStopped, "engine stopped");
    reason(o.axisSignalMissing, "an axis signal not recorded");
    reason(o.unknownMapType, "map type unknown");
    return text + (why.empty() ? "" : " (" + why + ")");
}

void printJson(std::ostream& out, const std::string& path, const RecordingSetup& setup,
               const CellTable& table) {
    out << "{\n  \"recording\": " << jsonString(path) << ",\n  \"records\": " << table.records()
        << ",\n  \"seconds\": " << secondsText(table.records())
        << ",\n  \"setup\": " << jsonString(setup.description)
        << ",\n  \"mapType\": " << jsonString(table.mapType()) << ",\n  \"cells\": [";
    const std::optional<LiveSignal> signal = table.signal();
    bool first = true;
    for (int row = 0; row < kMainMapRows; ++row)
        for (int column = 0; column < kMainMapColumns; ++column) {
            const CellStatistics& cell = table.cell(column, row);
            if (cell.records == 0)
                continue;
            out << (first ? "\n" : ",\n") << "    {\"column\": " << column << ", \"row\": " << row
                << ", \"columnHeading\": " << jsonString(table.columnHeading(column))
                << ", \"rowHeading\": " << jsonString(table.rowHeading(row))
                << ", \"seconds\": " << secondsText(cell.records)
                << ", \"records\": " << cell.records;
            if (signal) {
                const LiveSignalDef& d = liveSignalDef(*signal);
                const SignalStatistics& s = cell.signal;
                out << ", \"signal\": {\"name\": " << jsonString(d.name)
                    << ", \"unit\": " << jsonString(d.unit) << ", \"count\": " << s.count
                    << ", \"min\": " << jsonNumber(s.minimum)
                    << ", \"mean\": " << jsonNumber(s.mean())
                    << ", \"max\": " << jsonNumber(s.maximum) << "}";
            }
            out << "}";
            first = false;
        }
    out << (first ? "]" : "\n  ]") << ",\n  \"outside\": " << outsideJson(table.outside())
        << "\n}\n";
}

void printText(std::ostream& out, const std::string& path, const RecordingSetup& setup,
               const CellTable& table) {
    out << "recording: " << path << " (" << table.records() << " records, "
        << secondsText(table.records()) << " s)\n"
        << setup.description << "; main map " << table.mapType() << "\n";
    const std::optional<LiveSignal> signal = table.signal();
    int decimals = 0;
    if (signal) {
        const LiveSignalDef& d = liveSignalDef(*signal);
        decimals = d.decimals;
        out << "signal: " << liveCsvHeader(d) << "\n";
    }
    out << "\n"
        << std::setw(8) << "column" << std::setw(8) << "row" << std::setw(10) << "seconds"
        << std::setw(9) << "records";
    if (signal)
        out << std::setw(10) << "min" << std::setw(10) << "mean" << std::setw(10) << "max";
    out << "\n";
    for (int row = 0; row < kMainMapRows; ++row)
        for (int column = 0; column < kMainMapColumns; ++column) {
            const CellStatistics& cell = table.cell(column, row);
            if (cell.records == 0)
                continue;
            out << std::setw(8) << table.columnHeading(column) << std::setw(8)
                << table.rowHeading(row) << std::setw(10) << secondsText(cell.records)
                << std::setw(9) << cell.records;
            if (signal) {
                const SignalStatistics& s = cell.signal;
                out << std::setw(10) << fixedText(s.minimum, decimals) << std::setw(10)
                    << fixedText(s.mean(), decimals + 1) << std::setw(10)
                    << fixedText(s.maximum, decimals);
            }
            out << "\n";
        }
    out << "\n"
        << table.placed() << " records in the cells; " << outsideText(table.outside()) << "\n";
}

int listSignals(const CommandContext& c) {
    if (c.args.has("--json")) {
        c.out << "[";
        bool first = true;
        for (const LiveSignalDef& d : liveSignals()) {
            c.out << (first ? "\n" : ",\n") << "  {\"name\": " << jsonString(d.name)
                  << ", \"unit\": " << jsonString(d.unit) << "}";
            first = false;
        }
        c.out << "\n]\n";
        return kExitOk;
    }
    for (const LiveSignalDef& d : liveSignals())
        c.out << d.name << "\n";
    return kExitOk;
}

}  // namespace

int cellsCommand(const CommandContext& c) {
    if (c.args.has("--signals")) {
        if (!c.args.positional().empty())
            return c.fail("--signals lists the signal names and takes no recording", kExitUsage);
        return listSignals(c);
    }
    if (c.args.positional().empty())
        return c.fail("cells needs a RECORDING (demo.log or its CSV export)", kExitUsage);
    const std::optional<std::string> setupFile = c.args.value("--setup");
    if (setupFile && c.args.has("--ecu"))
        return c.fail("cells takes either --setup FILE or --ecu", kExitUsage);
    std::optional<LiveSignal> signal;
    if (const std::optional<std::string> name = c.args.value("--signal")) {
        signal = liveSignalNamed(*name);
        if (!signal)
            return c.fail("no live signal is named \"" + *name +
                              "\"; 'kaldor-cli cells --signals' lists them",
                          kExitUsage);
    }

    RecordingSetup setup = defaultSetup();
    if (setupFile) {
        const SetupFromFile fromFile = fileSetup(*setupFile);
        if (!fromFile.setup)
            return c.fail(fromFile.message);
        setup = *fromFile.setup;
    } else if (c.args.has("--ecu")) {
        Connection k = connect(c);
        if (k.status != kExitOk)
            return k.status;
        setup = controllerSetup(k.session->image(), k.session->state());
    }

    const std::string& path = c.args.positional().front();
    const RecordingRead read = readRecording(path);
    if (!read.recording)
        return c.fail(read.message);
    if (!read.message.empty())
        c.err << kProgramName << ": " << read.message << '\n';
    if (signal && !read.recording->carries(*signal))
        return c.fail("\"" + path + "\" does not hold the signal \"" + liveSignalDef(*signal).name +
                      "\"");
    const CellTable table = cellStatistics(*read.recording, setup, signal);
    if (c.args.has("--json"))
        printJson(c.out, path, setup, table);
    else
        printText(c.out, path, setup, table);
    return kExitOk;
}

}  // namespace kaldor::cli

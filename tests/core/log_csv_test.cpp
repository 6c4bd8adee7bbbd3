#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "live/data_logger.h"
#include "live/log_csv.h"
#include "live/recording.h"
#include "model/units.h"
#include "support/temp_folder.h"

using namespace kaldor;
namespace fs = std::filesystem;

namespace {

constexpr int kType4 = 3;  // rpm signal type "4"

const std::string kHeader =
    "\xEF\xBB\xBF"
    "time [s],engine speed [rpm],fuel mode,gas pressure [bar],manifold pressure [bar],"
    "differential pressure [bar],reducer temperature [\xC2\xB0"
    "C],propane temperature "
    "[\xC2\xB0"
    "C],exhaust gas temperature [\xC2\xB0"
    "C],battery [V],ignition [V],"
    "throttle TPS [V],air flow [V],rail signal [V],tank level [V],stepper position\r\n";

LiveFrame record(std::uint16_t rpm, unsigned mode, std::uint16_t gasMillibar) {
    LiveFrame f;
    f.setWord(21, static_cast<std::uint16_t>(RpmToPeriod(rpm, kType4)));
    f.setWord(39, static_cast<std::uint16_t>(mode << 7));
    f.setWord(78, gasMillibar);
    f.setWord(79, 1250);
    f.setWord(0, static_cast<std::uint16_t>(-5));  // reducer at -5 degrees
    f.setWord(1, 31);
    f.setWord(80, 1000);  // 1.22 V of the exhaust sensor: 348.92 degrees
    f.setWord(6, 2000);   // 14.152 V behind the divider
    f.setWord(4, 500);    // 1.9154 V of throttle
    f.setWord(26, 4095);
    f.setWord(3, 120);
    return f;
}

std::vector<std::string> rows(const std::string& csv) {
    std::vector<std::string> out;
    std::size_t at = 0;
    while (at < csv.size()) {
        const std::size_t end = csv.find("\r\n", at);
        out.push_back(csv.substr(at, end - at));
        at = end + 2;
    }
    return out;
}

std::string logged(const std::vector<LiveFrame>& frames) {
    std::string text;
    for (const LiveFrame& f : frames)
        text += DataLogger::formatLine(f);
    return text;
}

TEST(LogCsv, ThreeRecordsWithHeaderTimesAndUnits) {
    const std::string csv =
        logCsv(logged({record(1200, 0, 1500), record(2000, 2, 1480), record(0, 3, 0)}), kType4);
    ASSERT_EQ(csv.substr(0, kHeader.size()), kHeader);
    const auto r = rows(csv.substr(kHeader.size()));
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0],
              "0.0,1200,diesel,1.500,1.250,0.000,-5,31,349,14.15,0.00,1.915,0.000,0.000,"
              "4.996,120");
    EXPECT_EQ(r[1].rfind("0.1,2000,propane,1.480,", 0), 0u) << r[1];
    EXPECT_EQ(r[2].rfind("0.2,200,error,0.000,", 0), 0u) << r[2];
}

// A chosen "demo.log" with CR LF line ends, a value that is no number and a blank line; a fuel
// text of the language with a comma is quoted. The file is written whole.
TEST(LogCsv, DemoLogFileIsExportedAsPlaybackReadsIt) {
    const test::TempFolder folder("csv");
    const fs::path& dir = folder.path();
    std::string log = logged({record(1200, 1, 1500), record(1500, 1, 1600)});
    log.replace(log.find("1500"), 4, "15x0");  // word 78 of the first record counts as 0
    log.insert(log.find('\n'), "\r");
    log += "\r\n";
    std::ofstream(dir / "demo.log", std::ios::binary) << log;
    StatusTexts texts;
    texts.autoMode = "auto, \"smart\"";

    const CsvExport result =
        exportDemoLogCsv((dir / "demo.log").string(), kType4, (dir / "log.csv").string(), texts);
    ASSERT_TRUE(result.written) << result.message;
    EXPECT_EQ(result.records, 2u);
    std::stringstream content;
    content << std::ifstream(dir / "log.csv", std::ios::binary).rdbuf();
    const auto r = rows(content.str().substr(kHeader.size()));
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].rfind("0.0,1200,\"auto, \"\"smart\"\"\",0.000,1.250,", 0), 0u) << r[0];
    EXPECT_EQ(r[1].rfind("0.1,1500,", 0), 0u) << r[1];
    EXPECT_FALSE(fs::exists(dir / "log.csv.tmp"));

    const CsvExport missing =
        exportDemoLogCsv((dir / "none.log").string(), kType4, (dir / "other.csv").string());
    EXPECT_FALSE(missing.written);
    EXPECT_NE(missing.message.find("none.log"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "other.csv"));
}

// The window's export (the log read as it always was) and the log viewer's (the recording it
// shows, and that recording's own CSV read back) give the same bytes for the same records.
TEST(LogCsv, TheWindowAndTheViewerWriteTheSameCsv) {
    StatusTexts language;
    language.autoMode = "auto, \"smart\"";
    language.diesel = "Diesel";
    struct Case {
        const char* name;
        std::vector<LiveFrame> frames;
        int rpmSignalType;
        StatusTexts texts;
        const char* lineEnd;
    };
    const std::vector<Case> cases = {
        {"one record", {record(800, 0, 900)}, kType4, {}, "\n"},
        {"every fuel mode",
         {record(1200, 0, 1500), record(2000, 1, 1480), record(3100, 2, 0), record(0, 3, 65535)},
         kType4,
         {},
         "\n"},
        {"CR LF, another rpm signal type, the language's fuel texts",
         {record(1500, 1, 1600), record(4000, 0, 1), record(700, 1, 2500)},
         0,
         language,
         "\r\n"},
    };
    for (const Case& c : cases) {
        std::string text;
        for (const LiveFrame& f : c.frames) {
            text += DataLogger::formatLine(f);
            text.replace(text.size() - 1, 1, c.lineEnd);
        }
        const std::string window = logCsv(text, c.rpmSignalType, c.texts);
        RecordingReadOptions options;
        options.texts = c.texts;
        const RecordingRead shown = readRecordingText("drive", text, options);
        ASSERT_TRUE(shown.recording) << c.name << ": " << shown.message;
        LiveContext context;
        context.rpmSignalType = c.rpmSignalType;
        const std::size_t size = shown.recording->size();
        EXPECT_EQ(recordingCsv(*shown.recording, 0, size, context, c.texts), window) << c.name;
        // A range is numbered from its first record.
        const std::string tail = text.substr(text.find('\n') + 1);
        EXPECT_EQ(recordingCsv(*shown.recording, 1, size, context, c.texts),
                  logCsv(tail, c.rpmSignalType, c.texts))
            << c.name;
        const RecordingRead exported = readRecordingText("drive.csv", window, options);
        ASSERT_TRUE(exported.recording) << c.name << ": " << exported.message;
        EXPECT_EQ(
            recordingCsv(*exported.recording, 0, exported.recording->size(), context, c.texts),
            window)
            << c.name;
    }
}

}  // namespace

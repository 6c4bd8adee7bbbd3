#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

#include "live/log_csv.h"
#include "live/recording.h"
#include "live/trace_pyramid.h"
#include "model/fixed_text.h"
#include "model/units.h"
#include "support/temp_folder.h"

using namespace kaldor;

namespace {

std::string demoLine(const LiveFrame& f, const char* end = "\n") {
    std::string line;
    for (std::size_t w = 0; w < LiveFrame::kWords; ++w)
        line += std::to_string(f.word(w)) + ",";
    return line + end;
}

// Records as a drive gives them: every word moves, the engine speed within what an engine runs.
std::vector<LiveFrame> randomFrames(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<LiveFrame> frames(count);
    for (LiveFrame& f : frames) {
        for (std::size_t w = 0; w < LiveFrame::kWords; ++w)
            f.setWord(w, static_cast<std::uint16_t>(random()));
        f.setWord(21, static_cast<std::uint16_t>(2000 + random() % 63000));
    }
    return frames;
}

class RecordingFiles : public ::testing::Test {
protected:
    std::string write(const std::string& name, const std::string& content) {
        const std::string path = (m_folder.path() / name).string();
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    test::TempFolder m_folder{"recording"};
};

TEST_F(RecordingFiles, TheExportsCsvReadsToTheRecordsOfItsDemoLog) {
    const std::vector<LiveFrame> frames = randomFrames(3000, 7);
    std::string text;
    for (const LiveFrame& f : frames)
        text += demoLine(f);
    const std::string log = write("demo.log", text);
    const std::string csvPath = (m_folder.path() / "demo.csv").string();
    ASSERT_TRUE(exportDemoLogCsv(log, 0, csvPath).written);

    const RecordingRead fromLog = readRecording(log);
    const RecordingRead fromCsv = readRecording(csvPath);
    ASSERT_TRUE(fromLog.recording) << fromLog.message;
    ASSERT_TRUE(fromCsv.recording) << fromCsv.message;
    EXPECT_EQ(fromLog.recording->format(), RecordingFormat::DemoLog);
    EXPECT_EQ(fromCsv.recording->format(), RecordingFormat::Csv);
    ASSERT_EQ(fromCsv.recording->size(), frames.size());
    for (std::size_t r = 0; r < frames.size(); ++r)
        for (std::size_t w = 0; w < LiveFrame::kWords; ++w)
            ASSERT_EQ(fromLog.recording->word(r, w), frames[r].word(w)) << r << " " << w;

    // Every exported column reads as it was exported, and the CSV of the CSV is the CSV.
    const LiveContext context;
    const Recording& csv = *fromCsv.recording;
    const std::string again = recordsCsv(csv.size(), [&](std::size_t r, LiveSignal id) {
        return recordingValue(csv, csv.frame(r), id, context);
    });
    std::ifstream in(csvPath, std::ios::binary);
    EXPECT_EQ(again, std::string(std::istreambuf_iterator<char>(in), {}));
    // Where a column tells every word apart, the CSV gives the word itself.
    for (const LiveSignal id :
         {LiveSignal::GasPressure, LiveSignal::ManifoldPressure, LiveSignal::ReducerTemperature,
          LiveSignal::Throttle, LiveSignal::AirFlow, LiveSignal::TankLevel,
          LiveSignal::StepperPosition, LiveSignal::FuelMode}) {
        EXPECT_TRUE(csv.carries(id));
        for (std::size_t r = 0; r < frames.size(); r += 97)
            ASSERT_EQ(liveRaw(csv.frame(r), id), liveRaw(frames[r], id)) << liveSignalDef(id).name;
    }
    EXPECT_FALSE(csv.carries(LiveSignal::OperationsPerSecond));
}

struct FileCase {
    const char* name;
    std::string content;
    std::size_t records;  // 0: refused
    const char* message;  // a part of the message, or of the note
};

TEST_F(RecordingFiles, DamagedAndUnusualFiles) {
    LiveFrame a;
    a.setWord(0, 12);
    a.setWord(95, 65535);
    const std::string line = demoLine(a);
    const std::string csvHeader = recordsCsv(0, [](std::size_t, LiveSignal) { return 0.0; });
    const std::vector<FileCase> cases = {
        {"plain", line + line, 2, ""},
        {"CR LF", demoLine(a, "\r\n") + demoLine(a, "\r\n"), 2, ""},
        {"blank lines", "\n" + line + "\r\n\n" + line, 2, ""},
        {"last line without its line feed", line + demoLine(a, ""), 2, ""},
        {"truncated last line", line + line + "1,2,3", 2, "incomplete"},
        {"cut inside a value", line + line.substr(0, 40), 1, "incomplete"},
        {"empty", "", 0, "holds no records"},
        {"only a cut line", line.substr(0, 100), 0, "holds no records"},
        {"binary",
         std::string("\x7f"
                     "ELF\x02\x01\x01\0\0\0",
                     10) +
             line,
         0, "not a recording"},
        {"ten megabyte line", std::string(10 << 20, '7'), 0, "not a recording: line 1"},
        {"CSV ten megabyte line", csvHeader + std::string(10 << 20, 'x'), 0,
         "line 2 is longer than 4096"},
        {"95 values", line.substr(line.find(',') + 1) + line, 0, "line 1 holds 95 values"},
        {"97 values", "1," + line, 0, "more than 96 values"},
        {"a value above 65535", "65536," + line.substr(line.find(',') + 1), 0, "above 65535"},
        {"two commas", ",," + line, 0, "empty value"},
        {"text after CR", line + line.substr(0, line.size() - 1) + "\rx\n", 0, "line 2"},
        {"CSV header only", csvHeader, 0, "holds no records"},
        {"CSV of another table", "time [s],speed\r\n0.0,1\r\n", 0, "does not name the columns"},
        {"CSV cut row", csvHeader + "0.0,800,diesel,1.0", 0, "incomplete"},
        {"CSV unknown mode", csvHeader + "0.0,800,petrol,1,1,1,1,1,1,1,1,1,1,1,1,1\r\n", 0,
         "\"petrol\""},
    };
    for (const FileCase& c : cases) {
        const RecordingRead read = readRecording(write("case.log", c.content));
        const std::size_t records = read.recording ? read.recording->size() : 0;
        EXPECT_EQ(records, c.records) << c.name << ": " << read.message;
        EXPECT_NE(read.message.find(c.message), std::string::npos)
            << c.name << ": " << read.message;
        EXPECT_FALSE(read.cancelled);
        if (records > 0) {
            EXPECT_EQ(read.recording->word(records - 1, 95), 65535) << c.name;
        }
    }
}

TEST_F(RecordingFiles, ARecordingLargerThanTheBudgetIsRefusedAndACancelledReadGivesNothing) {
    std::string text;
    for (const LiveFrame& f : randomFrames(9000, 3))
        text += demoLine(f);
    const std::string path = write("long.log", text);

    RecordingReadOptions small;
    small.memoryBudget = 1 << 20;
    const RecordingRead tooLarge = readRecording(path, small);
    EXPECT_FALSE(tooLarge.recording);
    EXPECT_NE(tooLarge.message.find("too large"), std::string::npos) << tooLarge.message;

    ReadProgress progress;
    progress.cancel = true;
    const RecordingRead cancelled = readRecording(path, {}, &progress);
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_FALSE(cancelled.recording);

    RecordingReadTask task(path);
    while (!task.done())
        std::this_thread::yield();
    EXPECT_DOUBLE_EQ(task.fraction(), 1.0);
    const RecordingRead whole = task.take();
    ASSERT_TRUE(whole.recording);
    EXPECT_EQ(whole.recording->size(), 9000u);
    // Two bytes a word at most, whatever the text.
    EXPECT_LE(whole.recording->heldBytes(), 9000u * 96 * 2 + 3 * sizeof(Recording) * 1000);
}

TEST_F(RecordingFiles, AWordIsHeldOnceWhileStillAndInOneByteWhileItBarelyMoves) {
    std::string text;
    LiveFrame f;
    for (int r = 0; r < 20000; ++r) {
        f.setWord(21, static_cast<std::uint16_t>(r));
        f.setWord(22, static_cast<std::uint16_t>(65535 - r % 256));
        text += demoLine(f);
    }
    const RecordingRead read = readRecording(write("still.log", text));
    ASSERT_TRUE(read.recording);
    // Two bytes a record for word 21, one for word 22, nothing for the rest.
    EXPECT_LT(read.recording->heldBytes(), 20000u * 4);
    for (const std::size_t r : {0, 255, 256, 4095, 4096, 12345, 19999}) {
        EXPECT_EQ(read.recording->word(r, 21), r);
        EXPECT_EQ(read.recording->word(r, 22), 65535 - r % 256);
        EXPECT_EQ(read.recording->word(r, 20), 0);
    }
}

}  // namespace

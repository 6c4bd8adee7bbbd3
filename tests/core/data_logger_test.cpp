#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "live/data_logger.h"
#include "live/live_poller.h"
#include "support/fake_port.h"
#include "support/scripted_controller.h"
#include "support/temp_folder.h"

using namespace kaldor;
using namespace kaldor::test;

namespace {

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void spit(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// A "demo.log" line whose word 0 is tag and word 95 is tag + 1000.
std::string line(unsigned tag) {
    std::string s;
    for (std::size_t w = 0; w < 96; ++w)
        s += std::to_string(w == 0 ? tag : w == 95 ? tag + 1000 : w) + ",";
    return s + "\n";
}

std::vector<unsigned> playedTags(DataLogger& logger, int ticks) {
    std::vector<unsigned> tags;
    LiveFrame frame;
    for (int i = 0; i < ticks; ++i) {
        EXPECT_TRUE(logger.NextPlaybackLine(frame));
        tags.push_back(frame.word(0));
    }
    return tags;
}

struct LoggerFixture : ::testing::Test {
    // Removed after the logger is gone: Windows removes no file that is still open.
    TempFolder temp{"demolog"};
    std::string folder = temp.string();
    DataLogger logger{folder};
};

std::size_t lineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST_F(LoggerFixture, EachRecordReachesTheRecordingAsLoggedAndEachStopWritesTheWholeRun) {
    LiveFrame zero;
    logger.AppendLogLine(zero);  // not logging yet
    EXPECT_EQ(logger.loggedLines(), 0u);
    EXPECT_FALSE(logger.hasRecording());

    ASSERT_EQ(logger.StartLogging(), std::nullopt);
    logger.AppendLogLine(zero);
    std::string zeros;
    for (int i = 0; i < 96; ++i)
        zeros += "0,";
    zeros += "\n";
    // On the disk before any stop, under a name no file dialog shows.
    EXPECT_EQ(slurp(folder + "/demo.log.partial"), zeros);
    EXPECT_FALSE(std::filesystem::exists(folder + "/demo.log"));
    EXPECT_EQ(logger.StopLogging(), std::nullopt);
    EXPECT_FALSE(logger.logging());
    EXPECT_EQ(slurp(folder + "/demo.log"), zeros);

    LiveFrame f;
    f.setWord(0, 65535);
    f.setWord(95, 7);
    ASSERT_EQ(logger.StartLogging(), std::nullopt);
    logger.AppendLogLine(f);
    EXPECT_EQ(logger.StopLogging(), std::nullopt);
    const std::string second = "65535," + zeros.substr(2, 94 * 2) + "7,\n";
    EXPECT_EQ(slurp(folder + "/demo.log"), zeros + second);
    EXPECT_EQ(logger.loggedLines(), 2u);
    EXPECT_EQ(logger.recentLines().back() + "\n", second);
}

TEST_F(LoggerFixture, OnlyTheNewestLinesStayInMemory) {
    ASSERT_EQ(logger.StartLogging(), std::nullopt);
    LiveFrame f;
    for (std::uint16_t n = 0; n < 1000; ++n) {
        f.setWord(0, n);
        logger.AppendLogLine(f);
    }
    EXPECT_EQ(logger.loggedLines(), 1000u);
    ASSERT_EQ(logger.recentLines().size(), DataLogger::kRecentLines);
    EXPECT_EQ(logger.recentLines().front().substr(0, 4), "800,");
    EXPECT_EQ(lineCount(slurp(logger.recordingPath())), 1000u);
}

TEST_F(LoggerFixture, FailuresNameTheFileAndTheReasonAndKeepTheRecordingForTheNextStop) {
    DataLogger blocked(folder + "/missing");
    const auto notStarted = blocked.StartLogging();
    ASSERT_TRUE(notStarted.has_value());
    EXPECT_NE(notStarted->find(folder + "/missing/demo.log.partial"), std::string::npos)
        << *notStarted;
    EXPECT_NE(notStarted->find("No such file or directory"), std::string::npos) << *notStarted;
    EXPECT_FALSE(blocked.logging());

    // "demo.log" taken by a folder: the stop says so and the recording waits for the next one.
    ASSERT_TRUE(std::filesystem::create_directory(folder + "/demo.log"));
    ASSERT_EQ(logger.StartLogging(), std::nullopt);
    logger.AppendLogLine(LiveFrame{});
    const auto message = logger.StopLogging();
    ASSERT_TRUE(message.has_value());
    EXPECT_NE(message->find(folder + "/demo.log\""), std::string::npos) << *message;
    EXPECT_FALSE(logger.logging());
    std::filesystem::remove(folder + "/demo.log");
    EXPECT_EQ(logger.StopLogging(), std::nullopt);
    EXPECT_EQ(lineCount(slurp(folder + "/demo.log")), 1u);
}

// A recording the last run did not stop (closed while logging, or killed) is offered at the next
// start: OK keeps its whole lines as "demo.log", Cancel drops it; either way it is gone after.
TEST_F(LoggerFixture, AnInterruptedRecordingIsOfferedAsDemoLog) {
    for (const Answer answer : {Answer::Ok, Answer::Cancel}) {
        SCOPED_TRACE(answer == Answer::Ok ? "OK" : "Cancel");
        std::filesystem::remove(folder + "/demo.log");
        {
            DataLogger interrupted(folder);
            ASSERT_EQ(interrupted.StartLogging(), std::nullopt);
            interrupted.AppendLogLine(LiveFrame{});
            interrupted.AppendLogLine(LiveFrame{});
        }
        std::ofstream(folder + "/demo.log.partial", std::ios::app) << "1,2,3";  // half a line
        RecordingPrompts prompts;
        prompts.okCancel = answer;
        DataLogger next(folder);
        EXPECT_EQ(next.offerInterruptedRecording(prompts), std::nullopt);
        ASSERT_EQ(prompts.boxes.size(), 1u);
        EXPECT_NE(prompts.boxes[0].text.find("holds 2 lines"), std::string::npos)
            << prompts.boxes[0].text;
        EXPECT_FALSE(std::filesystem::exists(folder + "/demo.log.partial"));
        if (answer == Answer::Ok)
            EXPECT_EQ(slurp(folder + "/demo.log"),
                      DataLogger::formatLine({}) + DataLogger::formatLine({}));
        else
            EXPECT_FALSE(std::filesystem::exists(folder + "/demo.log"));
        EXPECT_EQ(next.offerInterruptedRecording(prompts), std::nullopt);
        EXPECT_EQ(prompts.boxes.size(), 1u) << "asked once";
    }
    // A run that stopped its recording leaves nothing to offer.
    {
        DataLogger clean(folder);
        ASSERT_EQ(clean.StartLogging(), std::nullopt);
        clean.AppendLogLine(LiveFrame{});
        ASSERT_EQ(clean.StopLogging(), std::nullopt);
    }
    EXPECT_FALSE(std::filesystem::exists(folder + "/demo.log.partial"));
}

TEST_F(LoggerFixture, PlaybackLoopsOverTheFileAndASecondLoadAppendsIt) {
    spit(folder + "/demo.log", line(0) + line(1) + line(2));
    const PlaybackLoad load = logger.PlayDemo();
    EXPECT_TRUE(logger.demoPlayback());
    EXPECT_TRUE(load.opened);
    EXPECT_EQ(load.linesLoaded, 3u);
    EXPECT_EQ(load.message, std::nullopt);
    EXPECT_EQ(playedTags(logger, 6), (std::vector<unsigned>{1, 2, 0, 1, 2, 0}));
    EXPECT_EQ(logger.playbackWord(2, 95), 1002);

    logger.StopDemo();
    EXPECT_FALSE(logger.demoPlayback());
    EXPECT_EQ(logger.PlayDemo().linesLoaded, 3u);
    EXPECT_EQ(logger.lineCount(), 6u);
    EXPECT_EQ(playedTags(logger, 7), (std::vector<unsigned>{1, 2, 0, 1, 2, 0, 1}));

    ASSERT_EQ(logger.StartLogging(), std::nullopt);  // also starts playback over
    EXPECT_EQ(logger.playbackPosition(), 0u);
}

TEST_F(LoggerFixture, WithoutAFileNothingIsLoadedAndAnAllZeroRecordIsShown) {
    const PlaybackLoad load = logger.PlayDemo();
    EXPECT_TRUE(logger.demoPlayback());
    EXPECT_FALSE(load.opened);
    LiveFrame frame;
    frame.setWord(4, 99);
    EXPECT_TRUE(logger.NextPlaybackLine(frame));
    EXPECT_EQ(frame.bytes(), LiveFrame{}.bytes());
}

TEST(PlaybackReader, LineEndsAndTokens) {
    struct Case {
        const char* name;
        std::string text;
        std::size_t lines;
        std::vector<std::uint16_t> line0;  // its first values
    };
    const std::string tenDigits = "1234567890,";
    const std::vector<Case> cases = {
        {"no final comma loses the last value", "1,2,3\n", 1, {1, 2, 0}},
        {"carriage return before the line feed", "1,2,\r\n3,\r\n", 2, {1, 2}},
        {"last line without a line end", "4,5,", 1, {4, 5}},
        {"last line without a value", "4,5,\n6", 1, {4, 5}},
        {"nine characters", "000065535,000000012,", 1, {65535, 12}},
        {"ten characters", tenDigits + "7,", 1, {0, 7}},
        {"above a word", "65536,999999999,8,", 1, {0, 0, 8}},
        {"not decimal", "-5,+5, 5,0x1,1a,,9,", 1, {0, 0, 0, 0, 0, 0, 9}},
        {"empty lines play as zero", "\n\n", 2, {0, 0}},
    };
    for (const Case& c : cases) {
        DataLogger logger("");
        const PlaybackLoad load = logger.loadPlayback(c.text);
        EXPECT_EQ(load.linesLoaded, c.lines) << c.name;
        EXPECT_EQ(logger.lineCount(), c.lines) << c.name;
        for (std::size_t w = 0; w < c.line0.size(); ++w)
            EXPECT_EQ(logger.playbackWord(0, w), c.line0[w]) << c.name << ", value " << w;
    }
    DataLogger logger("");
    logger.loadPlayback("1,2,3\n");
    EXPECT_EQ(logger.playbackWord(0, 2), 0) << "the characters after the last comma are ignored";
}

TEST(PlaybackReader, MalformedFilesStayWithinTheLimits) {
    DataLogger logger("");
    // A line of 200 values keeps its first 96.
    std::string longLine;
    for (int v = 0; v < 200; ++v)
        longLine += std::to_string(v + 1) + ",";
    logger.loadPlayback(longLine + "\n" + line(5));
    EXPECT_EQ(logger.lineCount(), 2u);
    EXPECT_EQ(logger.playbackWord(0, 95), 96);
    EXPECT_EQ(logger.playbackWord(1, 0), 5);

    // A megabyte of binary noise, with NUL bytes, and a token that never ends.
    std::string noise(1 << 20, '\0');
    unsigned seed = 12345;
    for (char& c : noise) {
        seed = seed * 1103515245u + 12345u;
        c = static_cast<char>(seed >> 16);
    }
    logger.loadPlayback(noise + std::string(100000, '7') + ",\n");
    EXPECT_LE(logger.lineCount(), DataLogger::kMaxLines);
    LiveFrame frame;
    for (std::size_t i = 0; i < logger.lineCount() + 2; ++i)
        logger.NextPlaybackLine(frame);
}

TEST(PlaybackReader, TheBufferHoldsFiftyThousandLinesAndSaysSoOncePerLoad) {
    DataLogger logger("");
    std::string text;
    for (unsigned i = 0; i < 60000; ++i)
        text += std::to_string(i % 60000) + ",\n";
    const PlaybackLoad load = logger.loadPlayback(text);
    EXPECT_EQ(load.linesLoaded, DataLogger::kMaxLines);
    ASSERT_TRUE(load.message.has_value());
    EXPECT_NE(load.message->find("50000"), std::string::npos);
    EXPECT_EQ(logger.playbackWord(49999, 0), 49999);
    EXPECT_LE(logger.bufferBytes(), DataLogger::kMaxLines * 96 * 2);

    const PlaybackLoad again = logger.loadPlayback("1,\n");
    EXPECT_EQ(again.linesLoaded, 0u);
    EXPECT_TRUE(again.message.has_value());

    DataLogger exact("");
    EXPECT_EQ(exact.loadPlayback(text.substr(0, text.find("50000,"))).message, std::nullopt);
    EXPECT_EQ(exact.lineCount(), DataLogger::kMaxLines);
}

struct LoggerOnPoller : ::testing::Test, ScriptedLink {
    LiveFrame frame;
    CalibrationBlock block;
    LivePoller poller{commands, state, frame, block};
    TempFolder temp{"demolog"};
    std::string folder = temp.string();
    DataLogger logger{folder};
    Bytes record = Bytes(192, 0);

    void SetUp() override {
        logger.attach(poller);
        ASSERT_TRUE(link.open(1));
        state.connected = state.linkReady = true;
        record[0] = 42;
        port.responder = [this](int, const Bytes& f) -> Bytes {
            return f[0] == 0xAA && f[1] == 0x05 ? liveReply(record) : Bytes{};
        };
    }
    void collect() {
        poller.TimerTick();
        poller.TimerTick();
    }
};

TEST_F(LoggerOnPoller, LogsCollectedRecordsAndPlaybackReplacesTheControllerWithoutLogging) {
    ASSERT_EQ(logger.StartLogging(), std::nullopt);
    EXPECT_TRUE(poller.logging());
    collect();
    collect();
    std::string expected = "42,";
    for (int w = 1; w < 96; ++w)
        expected += "0,";
    expected += "\n";
    EXPECT_EQ(slurp(logger.recordingPath()), expected + expected);

    logger.loadPlayback(line(7) + line(8));
    logger.PlayDemo();  // no file in the working folder: the loaded lines play
    EXPECT_TRUE(poller.demoPlayback());
    const std::size_t logged = logger.loggedLines();
    collect();
    EXPECT_EQ(frame.word(0), 8);
    collect();
    EXPECT_EQ(frame.word(0), 7);
    EXPECT_EQ(logger.loggedLines(), logged);

    logger.StopDemo();
    EXPECT_FALSE(poller.demoPlayback());
    collect();
    EXPECT_EQ(frame.word(0), 42);
    EXPECT_EQ(logger.StopLogging(), std::nullopt);
    EXPECT_FALSE(poller.logging());
}

}  // namespace

// demo.log files as a crash, an editor or another program leaves them: mutated recordings, long
// tokens, signs, blanks, carriage returns, missing line feeds, lines of any length, more lines
// than the buffer holds. Outcome: every line plays as the reader's rules say (a value is a
// decimal token up to nine characters and 65535, else 0; values past 96 and text after the last
// comma ignored), and the buffer stops at its limit with one message.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>

#include "fuzz/fuzz_support.h"
#include "live/data_logger.h"
#include "support/temp_folder.h"

using namespace kaldor;
using namespace kaldor::fuzz;

namespace {

using Line = std::array<std::uint16_t, DataLogger::kValuesPerLine>;

std::string recording(Fuzzer& f, std::size_t lines) {
    std::string s;
    for (std::size_t l = 0; l < lines; ++l) {
        for (std::size_t w = 0; w < DataLogger::kValuesPerLine; ++w)
            s += std::to_string(f.word()) + ",";
        s += f.chance(20) ? "\r\n" : "\n";
    }
    return s;
}

std::uint16_t tokenValue(const std::string& token) {
    if (token.empty() || token.size() > DataLogger::kMaxTokenChars)
        return 0;
    std::uint32_t v = 0;
    for (const char c : token) {
        if (c < '0' || c > '9')
            return 0;
        v = v * 10 + static_cast<std::uint32_t>(c - '0');
    }
    return v <= 0xFFFF ? static_cast<std::uint16_t>(v) : 0;
}

// The lines a text holds, read by the format's rules written out plainly.
std::vector<Line> expectedLines(const std::string& text) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t feed = text.find('\n', start);
        const std::string line =
            text.substr(start, feed == std::string::npos ? std::string::npos : feed - start);
        const std::size_t lastComma = line.rfind(',');
        // The last line counts without a line feed only when it holds a value.
        if (feed != std::string::npos || lastComma != std::string::npos) {
            Line values{};
            std::size_t from = 0;
            for (std::size_t w = 0; lastComma != std::string::npos && from <= lastComma; ++w) {
                const std::size_t comma = line.find(',', from);
                if (w < values.size())
                    values[w] = tokenValue(line.substr(from, comma - from));
                from = comma + 1;
            }
            lines.push_back(values);
        }
        if (feed == std::string::npos)
            break;
        start = feed + 1;
    }
    return lines;
}

}  // namespace

TEST(DemoLogFuzz, EveryLinePlaysAsTheReaderRulesSay) {
    Fuzzer f(41);
    for (std::size_t i = 0; i < rounds(3000); ++i) {
        const std::string seed = recording(f, 1 + f.below(4));
        const std::string text = f.chance(85) ? f.mutate(seed, ",\n\r -+0123456789", 8000)
                                              : f.text(f.below(1500), ",\n\r 0123456789");
        DataLogger logger("");
        const PlaybackLoad load = logger.loadPlayback(text);
        const std::vector<Line> expected = expectedLines(text);
        ASSERT_TRUE(load.opened);
        ASSERT_FALSE(load.message.has_value()) << i;
        ASSERT_EQ(load.linesLoaded, expected.size()) << i;
        ASSERT_EQ(logger.lineCount(), expected.size()) << i;
        for (std::size_t l = 0; l < expected.size(); ++l)
            for (std::size_t w = 0; w < DataLogger::kValuesPerLine; ++w)
                ASSERT_EQ(logger.playbackWord(l, w), expected[l][w]) << i << " " << l << " " << w;
        // Playback loops over what was loaded, or shows an all-zero record.
        LiveFrame frame;
        for (std::size_t t = 0; t < expected.size() + 2; ++t)
            ASSERT_TRUE(logger.NextPlaybackLine(frame));
        ASSERT_LT(logger.playbackPosition(), std::max<std::size_t>(expected.size(), 1)) << i;
    }
}

TEST(DemoLogFuzz, TheBufferStopsAtItsLimitWithOneMessage) {
    Fuzzer f(42);
    const test::TempFolder folder("demofuzz");
    DataLogger logger(folder.string());
    // Most of the buffer from memory, the rest and more from the file, in several loads.
    ASSERT_EQ(logger.loadPlayback(std::string(DataLogger::kMaxLines - 120, '\n')).linesLoaded,
              DataLogger::kMaxLines - 120);
    std::ofstream(logger.filePath(), std::ios::binary) << recording(f, 100) << "7,8";
    PlaybackLoad load = logger.PlayDemo();
    EXPECT_TRUE(load.opened);
    EXPECT_EQ(load.linesLoaded, 101u);
    EXPECT_FALSE(load.message.has_value());
    load = logger.PlayDemo();
    EXPECT_EQ(load.linesLoaded, 19u);
    ASSERT_TRUE(load.message.has_value());
    EXPECT_NE(load.message->find("50000"), std::string::npos);
    EXPECT_EQ(logger.lineCount(), DataLogger::kMaxLines);
    load = logger.loadPlayback(recording(f, 3));
    EXPECT_EQ(load.linesLoaded, 0u);
    EXPECT_TRUE(load.message.has_value());
    EXPECT_EQ(logger.bufferBytes(), DataLogger::kMaxLines * sizeof(Line));
    // A folder named demo.log opens but does not read: nothing more is loaded.
    DataLogger other((folder.path() / "sub").string());
    std::filesystem::create_directories(folder.path() / "sub" / "demo.log");
    EXPECT_EQ(other.PlayDemo().linesLoaded, 0u);
}

// `kaldor-cli history` without a controller: the list, show and diff of a history made here, a
// damaged entry skipped with a note, and the forms' usage.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli_run.h"
#include "model/fields.h"
#include "service/controller_history.h"

namespace kaldor::cli::test {
namespace {

constexpr std::uint32_t kSerial = 770123;
constexpr std::int64_t kStart = 1700000000;  // 2023-11-14T22:13:20Z

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

struct CliHistory : ::testing::Test {
    std::string folder = tempPath("history");
    std::string settings = tempPath("history.INI");
    std::int64_t now = kStart;
    std::vector<std::string> ids;
    EcuImage image;

    void SetUp() override {
        std::filesystem::remove_all(folder);
        std::ofstream(settings) << "[History]\nFolder=" << folder << "\n";
        const ControllerHistory history(folder, [this] { return now; });
        for (const unsigned pressure : {1200u, 1200u, 1500u}) {
            storeField(image, FieldId::MinSystemPressure, pressure);
            now += 3600;
            const StoreResult r = history.store(kSerial, image.bytes(), "connected", 2, 11);
            if (r.outcome == StoreOutcome::Stored)
                ids.push_back(r.entry.id);
        }
    }
    CliRun history(std::vector<std::string> words) {
        words.insert(words.begin(), "history");
        words.insert(words.end(), {"--settings", settings});
        return runCli(words);
    }
};

TEST_F(CliHistory, ListsShowsAndComparesTheEntries) {
    ASSERT_EQ(ids.size(), 2u) << "an unchanged memory is kept once";
    const CliRun list = history({});
    ASSERT_EQ(list.status, kExitOk) << list.err;
    EXPECT_EQ(list.out.substr(0, list.out.find('\n')), "ECU 770123");
    EXPECT_LT(list.out.find(ids[1]), list.out.find(ids[0])) << "newest first:\n" << list.out;
    EXPECT_TRUE(contains(list.out, "Rev.H:2 Rev.S:11  4.706  connected"));
    const CliRun json = history({"--serial", "770123", "--json"});
    EXPECT_TRUE(contains(json.out, "\"serial\": 770123")) << json.out;
    EXPECT_TRUE(
        contains(json.out, "\"id\": \"" + ids[0] + "\", \"time\": \"2023-11-14T23:13:20Z\""))
        << json.out;

    const CliRun show = history({"show", ids[1]});
    ASSERT_EQ(show.status, kExitOk) << show.err;
    EXPECT_EQ(show.out.substr(0, show.out.find('\n')), "id: " + ids[1]);
    EXPECT_TRUE(contains(show.out, "minimum pressure [bar]: 1.5 bar")) << show.out;

    // Against the entry before it, a file, and nothing before the first.
    const CliRun changed = history({"diff", ids[1]});
    EXPECT_EQ(changed.status, kExitFailed);
    EXPECT_TRUE(contains(changed.out, "minimum pressure [bar]: 1.2 bar")) << changed.out;
    const std::string file = tempPath("same.kcfg");
    writeImageFile(file, image);
    EXPECT_EQ(history({"diff", ids[1], file}).status, kExitOk);
    const CliRun first = history({"diff", ids[0]});
    EXPECT_EQ(first.status, kExitFailed);
    EXPECT_TRUE(contains(first.err, "is the first entry")) << first.err;
}

TEST_F(CliHistory, ADamagedEntryIsSkippedWithANote) {
    std::ofstream(folder + "/770123/" + ids[0] + ".kcfg", std::ios::trunc) << "short";
    const CliRun list = history({});
    EXPECT_EQ(list.status, kExitOk);
    EXPECT_FALSE(contains(list.out, ids[0]));
    EXPECT_TRUE(contains(list.out, ids[1]));
    EXPECT_TRUE(contains(list.err, "entry " + ids[0] + ".kcfg skipped: 5 bytes")) << list.err;
    EXPECT_EQ(history({"show", ids[0]}).status, kExitFailed);
}

TEST_F(CliHistory, BadUsageExitsTwo) {
    const std::vector<std::vector<std::string>> bad{
        {"bogus"},
        {"show"},
        {"show", "a", "b"},
        {"--verify"},
        {"show", "x", "--pin", "1234"},
        {"diff", "x", "file", "--ecu"},
        {"--serial", "12x"},
        {"--serial", "4294967296"},
    };
    for (const auto& words : bad)
        EXPECT_EQ(history(words).status, kExitUsage) << words[0];
    EXPECT_EQ(history({"show", "20000101-000000"}).status, kExitFailed);
    EXPECT_EQ(runCli({"history", "--help"}).status, kExitOk);
}

}  // namespace
}  // namespace kaldor::cli::test

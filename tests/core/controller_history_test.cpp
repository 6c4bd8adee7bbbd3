// The controller history on disk: the entries and their index, no duplicate of the newest, the
// keep rule over a long synthetic history, damaged files skipped, and a history that can not be
// written said once without stopping anything.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

#include "files/settings_file.h"
#include "model/fields.h"
#include "service/controller_history.h"
#include "service/history_recorder.h"
#include "support/temp_folder.h"

namespace kaldor {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kSerial = 770123;
constexpr std::int64_t kDay = 86400;
constexpr std::int64_t kStart = 1700000000;  // 2023-11-14T22:13:20Z

EcuImage::Bytes bytesOf(std::uint8_t seed) {
    EcuImage::Bytes b{};
    for (std::size_t i = 0; i < b.size(); ++i)
        b[i] = static_cast<std::uint8_t>(i * 13 + seed);
    return b;
}

std::string fileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

struct HistoryStore : ::testing::Test {
    test::TempFolder temp{"history"};
    std::int64_t now = kStart;
    ControllerHistory history{(temp.path() / "history").string(), [this] { return now; }, "4.706"};

    StoreResult store(std::uint8_t seed, const std::string& what = "connected") {
        return history.store(kSerial, bytesOf(seed), what, 2, 11);
    }
    fs::path folder() const { return history.controllerFolder(kSerial); }
};

TEST(HistoryTime, UtcTextRoundTripsAndRefusesWhatIsNoTime) {
    EXPECT_EQ(historyUtcText(kStart), "2023-11-14T22:13:20Z");
    EXPECT_EQ(historyUtcText(951782400), "2000-02-29T00:00:00Z");
    for (const std::int64_t t :
         {std::int64_t{0}, kStart, std::int64_t{951782400}, kStart + 7 * kDay})
        EXPECT_EQ(parseHistoryUtcText(historyUtcText(t)), t) << t;
    for (const char* bad : {"2023-02-29T00:00:00Z", "2023-13-01T00:00:00Z", "2023-01-01T24:00:00Z",
                            "2023-01-01 00:00:00Z", "2023-01-01T00:00:00", "", "x"})
        EXPECT_FALSE(parseHistoryUtcText(bad)) << bad;
}

TEST(HistoryFolder, TheUsersDataFolderUnlessTheSettingsNameAnother) {
    const auto lookup = [](std::map<std::string, std::string> vars) {
        return [vars](const char* name) -> const char* {
            const auto it = vars.find(name);
            return it == vars.end() ? nullptr : it->second.c_str();
        };
    };
#ifndef _WIN32
    EXPECT_EQ(defaultHistoryFolder(lookup({{"XDG_DATA_HOME", "/d"}, {"HOME", "/h"}})),
              "/d/kaldor/history");
    EXPECT_EQ(defaultHistoryFolder(lookup({{"HOME", "/h"}})), "/h/.local/share/kaldor/history");
    EXPECT_EQ(defaultHistoryFolder(lookup({{"XDG_DATA_HOME", "rel"}, {"HOME", "/h"}})),
              "/h/.local/share/kaldor/history")
        << "a relative XDG_DATA_HOME is ignored";
    EXPECT_EQ(defaultHistoryFolder(lookup({})), "");
#endif
    SettingsFile settings;
    settings.parse("[History]\nEnabled=0\nFolder=/elsewhere\n");
    const HistorySettings off = readHistorySettings(settings, lookup({{"HOME", "/h"}}));
    EXPECT_FALSE(off.enabled);
    EXPECT_EQ(off.folder, "/elsewhere");
    const HistorySettings on = readHistorySettings(SettingsFile(), lookup({{"HOME", "/h"}}));
    EXPECT_TRUE(on.enabled);
    EXPECT_EQ(on.folder, defaultHistoryFolder(lookup({{"HOME", "/h"}})));
}

TEST_F(HistoryStore, AnEntryIsTheExactBytesAndOneIndexLineAndTheNewestIsNeverStoredTwice) {
    const StoreResult first = store(1);
    ASSERT_EQ(first.outcome, StoreOutcome::Stored) << first.message;
    EXPECT_EQ(first.entry.id, "20231114-221320");
    const std::string bytes = fileText(folder() / "20231114-221320.kcfg");
    const EcuImage::Bytes expected = bytesOf(1);
    EXPECT_EQ(bytes, std::string(expected.begin(), expected.end()));
    const std::string index = fileText(folder() / "index.txt");
    char crc[9];
    std::snprintf(crc, sizeof crc, "%08x", historyCrc(bytesOf(1)));
    EXPECT_NE(index.find("\n20231114-221320\t2023-11-14T22:13:20Z\t2\t11\t4.706\t" +
                         std::string(crc) + "\tconnected\n"),
              std::string::npos)
        << index;

    EXPECT_EQ(store(1, "before RESET ECU").outcome, StoreOutcome::Duplicate);
    ++now;
    EXPECT_EQ(store(2, "before\tload to ECU: a\nb.kcfg").outcome, StoreOutcome::Stored);
    // The same second again, with other bytes: a second id, not an overwrite.
    EXPECT_EQ(store(3).entry.id, "20231114-221321-2");
    EXPECT_EQ(store(1).outcome, StoreOutcome::Stored) << "only the newest counts as a duplicate";

    const HistoryListing listing = history.list(kSerial);
    EXPECT_TRUE(listing.notes.empty());
    ASSERT_EQ(listing.entries.size(), 4u);
    EXPECT_EQ(listing.entries[1].what, "before load to ECU: a b.kcfg");
    EXPECT_EQ(history.read(kSerial, listing.entries[2]), bytesOf(3));
    EXPECT_EQ(history.serials(), std::vector<std::uint32_t>{kSerial});
}

// 400 entries over two years, one every 43.8 hours (the first 399 laid down directly, the last
// stored): the first entry, every entry of the last 90 days, and 200 in all stay; the older ones
// go, oldest first, with their files.
TEST_F(HistoryStore, TheKeepRuleOverTwoYearsOfEntries) {
    constexpr int kEntries = 400;
    const std::int64_t step = 2 * 365 * kDay / kEntries;
    std::vector<HistoryEntry> laid;
    fs::create_directories(folder());
    for (int i = 0; i + 1 < kEntries; ++i) {
        HistoryEntry e;
        e.time = kStart + i * step;
        e.id = "20230101-" + std::to_string(100000 + i);
        e.what = "connected";
        e.programVersion = "4.706";
        e.crc = historyCrc(bytesOf(static_cast<std::uint8_t>(i)));
        const EcuImage::Bytes b = bytesOf(static_cast<std::uint8_t>(i));
        writeText(folder() / (e.id + ".kcfg"), std::string(b.begin(), b.end()));
        laid.push_back(e);
    }
    writeText(folder() / "index.txt", historyIndexText(kSerial, laid));
    ASSERT_EQ(history.list(kSerial).entries.size(), kEntries - 1u);
    now = kStart + (kEntries - 1) * step;
    const StoreResult last = store(255);
    ASSERT_EQ(last.outcome, StoreOutcome::Stored) << last.message;

    const HistoryListing listing = history.list(kSerial);
    EXPECT_TRUE(listing.notes.empty());
    ASSERT_EQ(listing.entries.size(), kHistoryMaxEntries);
    EXPECT_EQ(listing.entries.front().id, laid.front().id);
    EXPECT_EQ(listing.entries.back().id, last.entry.id);
    // After the first, a run of the newest entries, which reaches back past 90 days.
    EXPECT_EQ(listing.entries[1].id, laid[kEntries - kHistoryMaxEntries + 1].id);
    EXPECT_LT(listing.entries[1].time, now - kHistoryKeepDays * kDay);
    std::size_t files = 0;
    for (const auto& f : fs::directory_iterator(folder()))
        files += f.path().extension() == ".kcfg" ? 1 : 0;
    EXPECT_EQ(files, kHistoryMaxEntries);
}

TEST(HistoryKeepRule, EntriesOfTheLast90DaysStayWhateverTheirNumber) {
    struct Case {
        const char* name;
        std::vector<std::int64_t> ages;  // days before now, oldest first
        std::size_t kept;
    };
    std::vector<std::int64_t> recent(250, 10);
    std::vector<std::int64_t> crowded{700};
    crowded.insert(crowded.end(), 100, 400);
    crowded.insert(crowded.end(), recent.begin(), recent.end());
    std::vector<std::int64_t> few{700, 500, 300, 100, 1};
    const Case cases[] = {
        {"few old entries all stay", few, 5},
        {"250 recent and 100 old: the old go, the first stays", crowded, 251},
    };
    for (const Case& c : cases) {
        std::vector<std::int64_t> times;
        for (const std::int64_t age : c.ages)
            times.push_back(kStart - age * kDay);
        const std::vector<bool> keep = historyKeeps(times, kStart);
        EXPECT_EQ(static_cast<std::size_t>(std::count(keep.begin(), keep.end(), true)), c.kept)
            << c.name;
        EXPECT_TRUE(keep.front()) << c.name;
    }
}

TEST_F(HistoryStore, DamagedIndexLinesAndEntryFilesAreSkippedWithANote) {
    ASSERT_EQ(store(1).outcome, StoreOutcome::Stored);
    now += kDay;
    ASSERT_EQ(store(2).outcome, StoreOutcome::Stored);
    now += kDay;
    ASSERT_EQ(store(3).outcome, StoreOutcome::Stored);
    const HistoryListing sound = history.list(kSerial);
    ASSERT_EQ(sound.entries.size(), 3u);
    const std::string index = fileText(folder() / "index.txt");
    // A truncated last line, garbage, a line naming a file outside the folder.
    writeText(folder() / "index.txt",
              index + "20231117-221320\t2023-11-17T2\n\x01\xff garbage\n../../x\t" +
                  historyUtcText(now) + "\t2\t11\t4.706\t00000000\tevil\n");
    // The second entry's file cut short, the third's overwritten with other bytes.
    writeText(folder() / (sound.entries[1].id + ".kcfg"), std::string(100, 'x'));
    writeText(folder() / (sound.entries[2].id + ".kcfg"), std::string(768, 'y'));

    const HistoryListing listing = history.list(kSerial);
    ASSERT_EQ(listing.entries.size(), 1u);
    EXPECT_EQ(listing.entries[0].id, sound.entries[0].id);
    EXPECT_EQ(listing.notes.size(), 5u);
    EXPECT_NE(listing.notes[0].find("index.txt line"), std::string::npos) << listing.notes[0];
    EXPECT_NE(listing.notes[3].find("100 bytes"), std::string::npos) << listing.notes[3];

    // Storing goes on, and the index it writes holds only sound lines.
    now += kDay;
    const StoreResult r = store(3);
    EXPECT_EQ(r.outcome, StoreOutcome::Stored) << "the newest entry's file is damaged";
    EXPECT_EQ(r.notes.size(), 3u);
    EXPECT_EQ(parseHistoryIndex(fileText(folder() / "index.txt")).notes.size(), 0u);
    writeText(folder() / "index.txt", std::string(2 << 20, '#'));
    EXPECT_EQ(history.list(kSerial).notes.size(), 1u);
}

struct Recorder : ::testing::Test {
    test::TempFolder temp{"recorder"};
    ConnectionState state;
    EcuImage image;
    HistoryRecorder recorder{state, image};
    std::vector<std::string> told;

    void configure(bool enabled, const fs::path& folder) {
        recorder.configure(
            {enabled, folder.string()}, [this](const std::string& t) { told.push_back(t); },
            [] { return kStart; });
    }
};

TEST_F(Recorder, KeepsTheConnectedControllersImageWithoutItsPin) {
    configure(true, temp.path());
    storeField(image, FieldId::ControllerSerialNumber, kSerial);
    storeField(image, FieldId::ControllerPin, 0x1234);
    recorder.record(kHistoryConnected);
    EXPECT_TRUE(fs::is_empty(temp.path())) << "nothing without a connected controller";
    state.connected = true;
    recorder.record(kHistoryConnected);
    const ControllerHistory history = recorder.history();
    const HistoryListing listing = history.list(kSerial);
    ASSERT_EQ(listing.entries.size(), 1u);
    EcuImage expected = image;
    storeField(expected, FieldId::ControllerPin, 0);
    EXPECT_EQ(history.read(kSerial, listing.entries[0]), expected.bytes());
    EXPECT_TRUE(told.empty());
}

TEST_F(Recorder, AFolderThatCanNotBeWrittenIsSaidOnceUntilItWorksAgain) {
    // A file where the folder should be: no user, root included, can write under it.
    writeText(temp.path() / "blocked", "");
    configure(true, temp.path() / "blocked");
    state.connected = true;
    for (int i = 0; i < 3; ++i) {
        storeField(image, FieldId::MainMapType, static_cast<unsigned>(i));
        recorder.record(kHistoryConnected);
    }
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find("could not be written"), std::string::npos) << told[0];

    fs::remove(temp.path() / "blocked");
    recorder.record(kHistoryConnected);
    EXPECT_EQ(recorder.history().list(recorder.serial()).entries.size(), 1u);
    fs::remove_all(temp.path() / "blocked");
    writeText(temp.path() / "blocked", "");
    storeField(image, FieldId::MainMapType, 7);
    recorder.record(kHistoryConnected);
    EXPECT_EQ(told.size(), 2u);
}

}  // namespace
}  // namespace kaldor

#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>

#include "service/config_commands.h"
#include "support/fake_port.h"
#include "support/recording_sender.h"
#include "support/temp_folder.h"

using namespace kaldor;
using namespace kaldor::test;
namespace fs = std::filesystem;

namespace {

EcuImage patterned(unsigned seed) {
    EcuImage image;
    for (std::size_t i = 0; i < EcuImage::kSize; ++i)
        image.setByte(i, static_cast<std::uint8_t>(i * seed + (i >> 8) + 1));
    return image;
}

Bytes fileBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const fs::path& p, const Bytes& bytes) {
    std::ofstream out(p, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> entries(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    return names;
}

struct ConfigFixture : ::testing::Test {
    fs::path base = makeTempFolder("config");
    EcuImage image = patterned(7);
    RecordingPrompts prompts;
    RecordingSender sender;
    RecordingTimer timer;
    PlainProgress bar;
    int refreshes = 0;
    int fullWrites = 0;
    ConfigCommands files{image, prompts, base.string()};

    void TearDown() override {
        fs::permissions(base, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(base);
    }
    // A file of `bytes` chosen in the open dialog through filter `filter`.
    void choose(const std::string& name, const Bytes& bytes, int filter = 0) {
        writeFile(base / name, bytes);
        prompts.openFile = FileAnswer{(base / name).string(), filter};
    }
    bool loadToEcu(unsigned revision = 5, std::uint16_t pin = 0) {
        return files.loadToEcu("load to ECU", revision, pin, [this] { ++fullWrites; });
    }
    // The map load as its callers run it: the controls show the image before the polling runs.
    bool loadMap() {
        if (!files.loadMap("LoadMap", sender, bar, timer, "no connection"))
            return false;
        EXPECT_EQ(timer.changes, std::vector<bool>{false});
        ++refreshes;
        files.finishLoadMap(timer);
        return true;
    }
};

TEST_F(ConfigFixture, SavedFileIsTheImageWithoutItsPin) {
    image.setWord(374, 0x1234);
    prompts.saveFile = FileAnswer{(base / "parametry" / "car").string(), 0};
    ASSERT_TRUE(files.saveToDisk(5));
    // The bare name got the extension of the open dialog's first filter.
    const fs::path saved = base / "parametry" / "car.kcfg";
    EcuImage expected = image;
    expected.setWord(374, 0);
    const Bytes bytes = fileBytes(saved);
    EXPECT_EQ(bytes, Bytes(expected.bytes().begin(), expected.bytes().end()));
    EXPECT_EQ(bytes[2 * 300], image.word(300) & 0xFF);  // words low byte first
    EXPECT_EQ(image.word(374), 0x1234);                 // the image keeps it
    EXPECT_EQ(entries(base / "parametry"), std::vector<std::string>{"car.kcfg"});
    ASSERT_EQ(prompts.questions.size(), 1u);
    EXPECT_EQ(fs::path(prompts.questions[0].initialFolder).lexically_normal(),
              (base / "parametry").lexically_normal());
    EXPECT_EQ(prompts.questions[0].fileName, "");
    ASSERT_EQ(prompts.questions[0].filters.size(), 1u);
    EXPECT_EQ(prompts.questions[0].filters[0].pattern, "*.kcfg");
    EXPECT_TRUE(prompts.messages.empty());
}

TEST(ConfigFileName, BareNamesGetTheConfigurationExtension) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"/p/car", "/p/car.kcfg"},
        {"/p/car.KCFG", "/p/car.KCFG"},
        {"/p/car.mqsetD", "/p/car.mqsetD"},
        {"/p.d/car", "/p.d/car.kcfg"},
        {"/p/.hidden", "/p/.hidden.kcfg"},
        {"/p/car.", "/p/car.kcfg"},
        {"/p/Ducato 2.3 JTD", "/p/Ducato 2.3 JTD.kcfg"},
    };
    for (const auto& [typed, saved] : cases)
        EXPECT_EQ(withConfigExtension(typed), saved) << typed;
}

TEST_F(ConfigFixture, SaveBelowRevision3ClearsTheNewerFeaturesOnlyWhenSaved) {
    const EcuImage before = image;
    EXPECT_FALSE(files.saveToDisk(2));  // no file chosen
    EXPECT_EQ(image, before);
    prompts.saveFile = FileAnswer{(base / "old.kcfg").string(), 0};
    ASSERT_TRUE(files.saveToDisk(2));
    EcuImage cleared = before;
    ClearRevision3Features(cleared);
    EXPECT_EQ(image, cleared);
    cleared.setWord(374, 0);
    EXPECT_EQ(fileBytes(base / "old.kcfg"), Bytes(cleared.bytes().begin(), cleared.bytes().end()));
}

// Nothing of the file may be left when the save fails, whatever the reason.
TEST_F(ConfigFixture, FailedSaveNamesTheFileAndLeavesNothing) {
    fs::create_directories(base / "target.kcfg");
    const std::string folderTarget = (base / "target.kcfg").string();
    EXPECT_NE(writeConfigFile(folderTarget, image).find(folderTarget), std::string::npos);
    EXPECT_EQ(entries(base), (std::vector<std::string>{"target.kcfg"}));
    EXPECT_TRUE(fs::is_empty(base / "target.kcfg"));

    const std::string missing = (base / "missing" / "car.kcfg").string();
    prompts.saveFile = FileAnswer{missing, 0};
    EXPECT_FALSE(files.saveToDisk(5));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_NE(prompts.messages[0].find(missing), std::string::npos);
    EXPECT_NE(prompts.messages[0].find("No such file or directory"), std::string::npos);
}

#ifndef _WIN32
// A read-only folder. The superuser writes anywhere, so the save runs as an ordinary user in a
// child process; its message goes to the child's error output.
TEST_F(ConfigFixture, SaveIntoReadOnlyFolderReportsAndLeavesNoPartialFile) {
    const fs::path folder = base / "ro";
    fs::create_directories(folder);
    fs::permissions(base, fs::perms::all);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read |
                                fs::perms::others_exec);
    const std::string path = (folder / "car.kcfg").string();
    EXPECT_EXIT(
        {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                std::_Exit(2);
            const std::string error = writeConfigFile(path, image);
            std::cerr << error << std::endl;
            std::_Exit(error.empty() ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "ro/car\\.kcfg.*Permission denied");
    EXPECT_TRUE(fs::is_empty(folder));
}
#endif

TEST(ConfigRevision, ClearRevision3FeaturesTouchesOnlyTheNewerFeatures) {
    EcuImage image;
    for (std::size_t i = 0; i < EcuImage::kSize; ++i)
        image.setByte(i, 0xFF);
    ClearRevision3Features(image);
    const std::vector<std::uint16_t> cdi{20, 50, 80, 0, 10, 15, 20};
    for (std::size_t w = 367; w <= 373; ++w)
        EXPECT_EQ(image.word(w), cdi[w - 367]) << w;
    for (std::size_t i = 0; i < EcuImage::kSize; ++i) {
        const bool zero =
            (i >= 100 && i <= 123) || (i >= 546 && i <= 547) || (i >= 554 && i <= 713);
        if (i >= 734 && i <= 747)
            continue;  // the CDi words above
        const unsigned expected = zero ? 0x00 : i == 549 ? 0xF9 : 0xFF;
        EXPECT_EQ(image.byte(i), expected) << "byte " << i;
    }
}

TEST_F(ConfigFixture, FullLoadKeepsTheControllersOwnParts) {
    choose("other.kcfg", Bytes(768, 0xEE));
    image.setWord(374, 0);  // cleared by the unlock
    const EcuImage before = image;
    ASSERT_TRUE(loadToEcu(5, 0x4321));
    EXPECT_EQ(fullWrites, 1);
    for (std::size_t i = 0; i < EcuImage::kSize; ++i) {
        const bool kept = i == 51 || (i >= 484 && i <= 487) || i >= 750;
        if (i == 748 || i == 749)
            continue;
        EXPECT_EQ(image.byte(i), kept ? before.byte(i) : 0xEE) << "byte " << i;
    }
    EXPECT_EQ(image.word(374), 0x4321);  // the PIN the controller holds
    ASSERT_FALSE(prompts.boxes.empty());
    EXPECT_EQ(prompts.boxes[0].text, "load to ECU");
    EXPECT_TRUE(prompts.boxes[0].warning);
    ASSERT_EQ(prompts.questions.size(), 1u);
    ASSERT_EQ(prompts.questions[0].filters.size(), 2u);
    EXPECT_EQ(prompts.questions[0].filters[1].pattern, "*.mqsetD");
}

TEST_F(ConfigFixture, FullLoadOfAShortFileReplacesOnlyItsBytes) {
    choose("short.kcfg", Bytes(100, 0xEE));
    EcuImage before = image;
    before.setWord(374, 0);  // no PIN held
    ASSERT_TRUE(loadToEcu());
    for (std::size_t i = 0; i < EcuImage::kSize; ++i)
        EXPECT_EQ(image.byte(i), i < 100 && i != 51 ? 0xEE : before.byte(i)) << i;
}

TEST_F(ConfigFixture, OlderFilesAndControllersLoseTheRevision3Features) {
    struct Case {
        const char* name;
        int filter;
        unsigned revision;
        bool cleared;
    };
    const std::vector<Case> cases{
        {"car.kcfg", 0, 5, false},
        {"car.mqsetD", 1, 5, true},
        {"car.mqsetD", 0, 5, false},  // known by the filter, not the name
        {"car.kcfg", 0, 2, true},
    };
    const EcuImage file = patterned(11);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " rev " + std::to_string(c.revision));
        choose(c.name, Bytes(file.bytes().begin(), file.bytes().end()), c.filter);
        ASSERT_TRUE(loadToEcu(c.revision));
        EXPECT_EQ(image.word(273) == 0, c.cleared);
        EXPECT_EQ(image.word(367) == 20, c.cleared);
        EXPECT_EQ(image.byte(110) == 0, c.cleared);
    }
}

TEST_F(ConfigFixture, MapLoadChangesOnlyTheMapPartAndSendsIt) {
    const EcuImage file = patterned(11);
    choose("map.kcfg", Bytes(file.bytes().begin(), file.bytes().end()), 1);
    const EcuImage before = image;
    ASSERT_TRUE(loadMap());
    for (std::size_t i = 0; i < EcuImage::kSize; ++i) {
        const bool map = i == 125 || (i >= 100 && i <= 123) || (i >= 167 && i <= 294) ||
                         (i >= 490 && i <= 537) || i == 728 || i == 729;
        EXPECT_EQ(image.byte(i), map ? file.byte(i) : before.byte(i)) << "byte " << i;
    }
    std::vector<std::string> expected{"pause 250"};
    for (int column = 0; column < 8; ++column)
        for (int row = 0; row < 16; ++row)
            expected.push_back("byte " + std::to_string(167 + column + 8 * row));
    for (int w = 245; w <= 268; ++w)
        expected.push_back("word " + std::to_string(w));
    for (int b = 100; b <= 123; ++b)
        expected.push_back("byte " + std::to_string(b));
    expected.push_back("word 364");
    expected.push_back("byte 125");
    EXPECT_EQ(expected.size(), 1u + 178u);
    EXPECT_EQ(sender.sent, expected);
    EXPECT_EQ(timer.changes, (std::vector<bool>{false, true}));
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(bar.position(), 0);  // the bar is not stepped
    EXPECT_EQ(files.loadMapBuffer().bytes(), file.bytes());
}

TEST_F(ConfigFixture, MapLoadWithoutControllerRunsTheBarAndSaysSo) {
    sender.isConnected = false;
    choose("map.kcfg", Bytes(768, 0x42));
    ASSERT_TRUE(loadMap());
    EXPECT_EQ(sender.sent, std::vector<std::string>{"pause 250"});
    EXPECT_EQ(bar.position(), 384);
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"no connection"});
    EXPECT_EQ(image.byte(200), 0x42);
    EXPECT_EQ(refreshes, 1);
}

TEST_F(ConfigFixture, ShortMapFileIsRefusedInsteadOfTakingLeftovers) {
    choose("full.kcfg", Bytes(768, 0x42));
    ASSERT_TRUE(loadMap());
    sender.sent.clear();
    const EcuImage before = image;
    choose("short.kcfg", Bytes(767, 0x17));
    EXPECT_FALSE(loadMap());
    EXPECT_EQ(image, before);
    EXPECT_TRUE(sender.sent.empty());
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_NE(prompts.messages[0].find("short.kcfg"), std::string::npos);
    EXPECT_EQ(files.loadMapBuffer().bytes()[200], 0x42);
}

// Cancelling either question, or a file that can not be read, ends both loads with the image as
// it was and nothing sent.
TEST_F(ConfigFixture, CancelOrUnreadableFileChangesNothing) {
    enum class Step { CancelBox, CancelDialog, MissingFile, Folder };
    const EcuImage before = image;
    for (const Step step : {Step::CancelBox, Step::CancelDialog, Step::MissingFile, Step::Folder}) {
        for (const bool map : {false, true}) {
            SCOPED_TRACE(std::to_string(static_cast<int>(step)) + (map ? " map" : " full"));
            prompts = RecordingPrompts();
            prompts.okCancel = step == Step::CancelBox ? Answer::Cancel : Answer::Ok;
            if (step == Step::MissingFile)
                prompts.openFile = FileAnswer{(base / "nothing.kcfg").string(), 0};
            if (step == Step::Folder)
                prompts.openFile = FileAnswer{base.string(), 0};
            EXPECT_FALSE(map ? loadMap() : loadToEcu());
            EXPECT_EQ(image, before);
            EXPECT_TRUE(sender.sent.empty());
            EXPECT_EQ(fullWrites, 0);
            EXPECT_TRUE(timer.changes.empty());
            const bool fileError = step == Step::MissingFile || step == Step::Folder;
            ASSERT_EQ(prompts.boxes.size(), fileError ? 2u : 1u);
            if (fileError) {
                EXPECT_EQ(prompts.boxes[1].title, "File Error");
                EXPECT_EQ(prompts.boxes[1].text,
                          "Can't perform one of the following file operations: Open, Seek, "
                          "Read, Close.");
            }
        }
    }
}

}  // namespace

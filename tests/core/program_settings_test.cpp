#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "files/program_settings.h"
#include "files/settings_file.h"

using namespace kaldor;

namespace {

struct ProgramSettingsFixture : ::testing::Test {
    std::string path = ::testing::TempDir() + "/kaldor" + std::to_string(::getpid()) + ".INI";
    ProgramSettingsStore store{path};

    void TearDown() override { std::remove(path.c_str()); }
    void write(const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
    std::string read() const {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

TEST_F(ProgramSettingsFixture, WithoutAFileTheDefaultsApplyAndClosingWritesEverySetting) {
    const ProgramSettings s = store.load();
    EXPECT_EQ(s.window.top, 100);
    EXPECT_EQ(s.window.left, 100);
    EXPECT_EQ(s.window.height, 600);
    EXPECT_EQ(s.window.width, 800);
    EXPECT_EQ(s.scopeSelectors, (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_TRUE(store.writesAtClosing());

    ASSERT_TRUE(store.store(s));
    const SettingsFile file(path);
    EXPECT_EQ(file.readInt("Form", "Width", 0), 800);
    EXPECT_EQ(file.readInt("Form1->ComboBoxScopeTypeGreen", "ItemIndex", 9), 0);
    for (const DisplayColour& c : kDisplayColours)
        EXPECT_EQ(file.readInt(c.section, "Color", 1), c.initial) << c.section;
    EXPECT_NE(read().find("[KolorFormy]\r\nColor=-2147483633"), std::string::npos);
}

TEST_F(ProgramSettingsFixture, StoredValuesComeBackAndBadOnesTakeTheDefault) {
    write(
        "[Form]\nTop=+5\nLeft=-20\nHeight=9999999999\nWidth=1000\n"
        "[Form1->ComboBoxScopType]\nItemIndex=7\n[form1->comboboxscopetypered]\nItemIndex=12\n"
        "[Form1->ComboBoxScopeTypeBlue]\nItemIndex=-1\n[Form1->ComboBoxScopeTypeGreen]\n"
        "ItemIndex=\v2\n");
    const ProgramSettings s = store.load();
    EXPECT_EQ(s.window.top, 100);
    EXPECT_EQ(s.window.left, -20);
    EXPECT_EQ(s.window.height, 600);
    EXPECT_EQ(s.window.width, 1000);
    EXPECT_EQ(s.scopeSelectors, (std::array<int, 4>{7, kNoSelection, kNoSelection, 0}));

    ASSERT_TRUE(store.store(s));
    EXPECT_EQ(SettingsFile(path).readInt("Form1->ComboBoxScopeTypeRed", "ItemIndex", 0), -1);
}

TEST_F(ProgramSettingsFixture, ClosingKeepsThePortMappingAndForeignEntries) {
    write("[Ports]\r\nCOM1=/dev/pts/7\r\n[Form]\r\nTop=3\r\nMaximised=1\r\n[Mine]\r\nKey=v\r\n");
    ProgramSettings s = store.load();
    s.window.top = 40;
    s.colours[9] = 0x123456;
    ASSERT_TRUE(store.store(s));
    const SettingsFile file(path);
    EXPECT_EQ(file.readString("Ports", "COM1", ""), "/dev/pts/7");
    EXPECT_EQ(file.readInt("Form", "Maximised", 0), 1);
    EXPECT_EQ(file.readString("Mine", "Key", ""), "v");
    EXPECT_EQ(file.readInt("Form", "Top", 0), 40);
    EXPECT_EQ(file.readInt("KolorFormy", "Color", 0), 0x123456);
}

TEST_F(ProgramSettingsFixture, AFileThatCannotBeReadRunsOnDefaultsAndIsLeftAsItIs) {
    const std::string content =
        std::string("[Ports]\nCOM1=/dev/pts/7\n[Form]\nWidth=1200\n") + '\0';
    write(content);
    const ProgramSettings s = store.load();
    EXPECT_EQ(s.window.width, 800);
    EXPECT_FALSE(store.writesAtClosing());
    EXPECT_FALSE(store.store(s));
    EXPECT_EQ(read(), content);

    // Mended while the program ran: still nothing written, the user sees the file as mended.
    write("[Form]\nWidth=1200\n");
    EXPECT_FALSE(store.store(s));
    EXPECT_EQ(read(), "[Form]\nWidth=1200\n");
}

TEST(SizeRule, RaisesASmallWindowToTheMinimumAndCentresIt) {
    const ScreenArea screen{0, 0, 1920, 1080};
    struct Case {
        WindowGeometry stored, expected;
    };
    const Case cases[] = {
        {{100, 100, 600, 700}, {240, 560, 600, 800}},
        {{100, 100, 500, 900}, {240, 510, 600, 900}},
        {{10, 20, 300, 200}, {240, 560, 600, 800}},
        {{10, 20, 700, 1000}, {10, 20, 700, 1000}},
    };
    for (const Case& c : cases) {
        const WindowGeometry g = applySizeRule(c.stored, screen);
        EXPECT_EQ(g.top, c.expected.top) << c.stored.width << "x" << c.stored.height;
        EXPECT_EQ(g.left, c.expected.left) << c.stored.width << "x" << c.stored.height;
        EXPECT_EQ(g.height, c.expected.height);
        EXPECT_EQ(g.width, c.expected.width);
    }
    const WindowGeometry offset = applySizeRule({0, 0, 600, 700}, {1920, 0, 1280, 1024});
    EXPECT_EQ(offset.left, 1920 + 240);
    EXPECT_EQ(offset.top, 212);
}

}  // namespace

#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "files/settings_file.h"
#include "files/settings_location.h"
#include "link/port_map.h"
#include "support/temp_folder.h"

using namespace kaldor;

namespace {

std::string tempPath(const char* name) {
    return ::testing::TempDir() + "/" + name + std::to_string(::getpid()) + ".ini";
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(SettingsFile, MatchesSectionsAndKeysWithoutRegardToCase) {
    SettingsFile s;
    s.parse("[Window]\r\nTop=12\nleft = -3\n[ports]\nCOM1=/dev/pts/7\n");
    EXPECT_EQ(s.readInt("WINDOW", "top", 0), 12);
    EXPECT_EQ(s.readInt("window", "LEFT", 0), -3);
    EXPECT_EQ(s.readString("Ports", "com1", ""), "/dev/pts/7");
    EXPECT_EQ(s.readInt("Window", "Missing", 42), 42);
}

TEST(SettingsFile, NonNumbersAndOutOfRangeReadAsTheDefault) {
    SettingsFile s;
    s.parse(
        "[A]\nx=12abc\ny=\nz=99999999999999999999999\nw=+7\nv=\v7\nu=7\v\nt=--7\ns=-\n"
        "r=-0012\n");
    for (const char* key : {"x", "y", "z", "w", "v", "u", "t", "s"})
        EXPECT_EQ(s.readInt("A", key, 5), 5) << key;
    EXPECT_EQ(s.readInt("A", "r", 5), -12);
}

TEST(SettingsFile, MissingOrBinaryFileReadsAsEmpty) {
    SettingsFile missing(tempPath("nothere"));
    EXPECT_EQ(missing.readInt("A", "b", 9), 9);
    SettingsFile s;
    s.parse(std::string("[A]\nb=1\n\0\x01\x02", 11));
    EXPECT_EQ(s.readInt("A", "b", 9), 9);
}

TEST(SettingsFile, WritesKeepUnknownEntriesAndComments) {
    const std::string path = tempPath("keep");
    {
        std::ofstream out(path, std::ios::binary);
        out << "; written by hand\n[Window]\nTop=1\nFoo=bar\n\n[Other]\nX=1\n";
    }
    SettingsFile s(path);
    s.writeInt("window", "top", 100);
    s.writeInt("Window", "Height", 480);
    s.writeInt("New", "Key", -5);
    ASSERT_TRUE(s.save());
    const std::string text = slurp(path);
    EXPECT_NE(text.find("; written by hand"), std::string::npos);
    EXPECT_NE(text.find("Top=100"), std::string::npos);
    EXPECT_NE(text.find("Foo=bar"), std::string::npos);
    EXPECT_NE(text.find("X=1"), std::string::npos);
    EXPECT_LT(text.find("Height=480"), text.find("[Other]"));
    EXPECT_NE(text.find("[New]\r\nKey=-5"), std::string::npos);
    EXPECT_EQ(readSettingInt(path, "WINDOW", "HEIGHT", 0), 480);
    ASSERT_TRUE(writeSettingInt(path, "Window", "Top", 7));
    EXPECT_EQ(readSettingInt(path, "Window", "Top", 0), 7);
    EXPECT_EQ(readSettingInt(path, "Other", "X", 0), 1);
    ASSERT_TRUE(writeSettingString(path, "ports", "COM3", "/dev/pts/4"));
    EXPECT_EQ(readSettingString(path, "Ports", "com3", ""), "/dev/pts/4");
    EXPECT_EQ(readSettingString(path, "Window", "Foo", ""), "bar");
    std::remove(path.c_str());
}

TEST(SettingsFile, AValueStaysOnItsLine) {
    SettingsFile s;
    s.writeString("A", "b", "one\n[Evil]\nc=2");
    EXPECT_EQ(s.readString("A", "b", ""), "one [Evil] c=2");
    SettingsFile reread;
    reread.parse(s.text());
    EXPECT_EQ(reread.readString("Evil", "c", "none"), "none");
}

TEST(SettingsFile, AFileThatCannotBeReadIsNeverOverwritten) {
    const std::string path = tempPath("unreadable");
    const std::string binary("[Ports]\nCOM1=/dev/pts/7\n\0", 25);
    const std::string huge = "[A]\n" + std::string(SettingsFile::kMaxFileSize, ';');
    for (const std::string& content : {binary, huge}) {
        {
            std::ofstream out(path, std::ios::binary);
            out << content;
        }
        SettingsFile s(path);
        EXPECT_EQ(s.state(), SettingsFile::State::Unreadable);
        EXPECT_EQ(s.readString("Ports", "COM1", "none"), "none");
        s.writeInt("A", "b", 1);
        EXPECT_FALSE(s.save());
        EXPECT_FALSE(writeSettingInt(path, "A", "b", 1));
        EXPECT_EQ(slurp(path), content);
    }
    std::remove(path.c_str());
    EXPECT_EQ(SettingsFile(path).state(), SettingsFile::State::Missing);
    EXPECT_EQ(SettingsFile(::testing::TempDir()).state(), SettingsFile::State::Unreadable);
}

TEST(SettingsFile, FailedSaveLeavesTheOldFile) {
    SettingsFile s("/nonexistent-folder/settings.ini");
    s.writeInt("A", "b", 1);
    EXPECT_FALSE(s.save());
}

TEST(PortMap, StableDefaultsAndOverrides) {
#ifdef _WIN32
    EXPECT_EQ(PortMap::defaultDeviceName(1), "\\\\.\\COM1");
    EXPECT_EQ(PortMap::defaultDeviceName(16), "\\\\.\\COM16");
    const std::string second = "\\\\.\\COM2";
#else
    EXPECT_EQ(PortMap::defaultDeviceName(1), "/dev/ttyUSB0");
    EXPECT_EQ(PortMap::defaultDeviceName(8), "/dev/ttyUSB7");
    EXPECT_EQ(PortMap::defaultDeviceName(9), "/dev/ttyACM0");
    EXPECT_EQ(PortMap::defaultDeviceName(12), "/dev/ttyACM3");
    EXPECT_EQ(PortMap::defaultDeviceName(13), "/dev/ttyS0");
    EXPECT_EQ(PortMap::defaultDeviceName(16), "/dev/ttyS3");
    const std::string second = "/dev/ttyUSB1";
#endif
    EXPECT_EQ(PortMap::defaultDeviceName(17), "");
    SettingsFile s;
    s.parse("[Ports]\ncom1=/dev/pts/7\n");
    const PortMap map(portDevices(s));
    EXPECT_EQ(map.deviceName(1), "/dev/pts/7");
    EXPECT_EQ(map.deviceName(2), second);
    EXPECT_EQ(map.deviceName(0), "");
}

}  // namespace

namespace {

// The settings of an installed copy: its folder cannot be written, so the user's own file is read
// over the administrator's one beside the program and takes every write.
TEST(SettingsLocation, UnwritableProgramFolderFallsBackToTheUsersConfigurationFolder) {
    const kaldor::test::TempFolder root("settings-location");
    const std::string program = root.string() + "/bin";
    const std::string config = root.string() + "/config";
    std::filesystem::create_directory(program);
    const std::string beside = program + "/kaldor.INI";
    std::ofstream(beside, std::ios::binary) << "[Ports]\nCOM1=/dev/ttyAdmin\n[Form]\nWidth=900\n";
    // The user's configuration folder by its variable on Linux and on Windows.
    auto environment = [&config](const char* name) -> const char* {
        const std::string variable = name;
        return variable == "XDG_CONFIG_HOME" || variable == "APPDATA" ? config.c_str() : nullptr;
    };
    using Path = std::filesystem::path;  // compared by their parts: Windows takes either slash

    const SettingsLocation portable =
        locateSettings(program, "kaldor.INI", environment, [](const std::string&) { return true; });
    EXPECT_EQ(Path(portable.file), Path(beside));
    EXPECT_TRUE(portable.fallback.empty());

    const SettingsLocation installed = locateSettings(program, "kaldor.INI", environment,
                                                      [](const std::string&) { return false; });
    EXPECT_EQ(Path(installed.file), Path(config) / "kaldor" / "kaldor.INI");
    EXPECT_EQ(Path(installed.fallback), Path(beside));

    SettingsFile file(installed.file, installed.fallback);
    EXPECT_EQ(file.readString("Ports", "COM1", ""), "/dev/ttyAdmin");
    file.writeInt("Form", "Width", 1064);
    ASSERT_TRUE(file.save());  // creates the user's folder
    EXPECT_EQ(slurp(installed.file), "[Form]\r\nWidth=1064\r\n");
    EXPECT_EQ(slurp(beside), "[Ports]\nCOM1=/dev/ttyAdmin\n[Form]\nWidth=900\n");
    const SettingsFile again(installed.file, installed.fallback);
    EXPECT_EQ(again.readInt("Form", "Width", 0), 1064);                 // the user's own first
    EXPECT_EQ(again.readString("Ports", "COM1", ""), "/dev/ttyAdmin");  // the rest from beside

    // No configuration folder at all: the file beside the program, whose write then fails.
    const SettingsLocation nowhere = locateSettings(
        program, "kaldor.INI", [](const char*) -> const char* { return nullptr; },
        [](const std::string&) { return false; });
    EXPECT_EQ(Path(nowhere.file), Path(beside));
#ifdef _WIN32
    // Without APPDATA, the local one.
    EXPECT_EQ(Path(userSettingsFolder([](const char* name) -> const char* {
                  return std::string(name) == "LOCALAPPDATA" ? "C:\\local" : nullptr;
              })),
              Path("C:\\local\\kaldor"));
#else
    // A relative XDG_CONFIG_HOME is ignored for ~/.config.
    EXPECT_EQ(userSettingsFolder([](const char* name) -> const char* {
                  return std::string(name) == "HOME" ? "/home/u" : "relative";
              }),
              "/home/u/.config/kaldor");
#endif
}

}  // namespace

// Settings files as a user, an editor or a broken disk leaves them: mutated valid files, random
// bytes, NUL bytes, oversized files. Outcome: a file with a NUL or past the size limit is
// unreadable and never saved; any other text reads, keeps every line through a write, reads the
// same values back, and an integer is a default unless it is exactly digits with an optional
// minus sign.
#include <gtest/gtest.h>

#include <charconv>
#include <filesystem>
#include <fstream>

#include "files/settings_file.h"
#include "fuzz/fuzz_support.h"
#include "support/temp_folder.h"

using namespace kaldor;
using namespace kaldor::fuzz;

namespace {

const std::string kSample =
    "[Ports]\r\nCOM1=/dev/pts/7\r\ncom2 = /dev/ttyUSB4\r\n\r\n[Window]\r\nLeft=-12\r\nTop=40\r\n"
    "; a comment\r\nWidth=1280\r\n[Scope]\r\nTrace1=3\r\n  Trace2 =  12  \r\nColor=16711680\r\n";
const std::vector<std::string> kSections{"Ports", "ports", "Window", "Scope", "", "New"};
const std::vector<std::string> kKeys{"COM1",   "com2",   "Left",  "Top", "Width",
                                     "Trace1", "Trace2", "Color", "x",   ""};
// The bytes that mean something in the format, and a NUL.
constexpr std::string_view kSpecial{"[]=;\r\n\t -0123456789\0", 20};

bool plainInteger(const std::string& text, long& out) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

TEST(SettingsFuzz, AnyTextReadsWritesAndReadsBackTheSame) {
    Fuzzer f(21);
    for (std::size_t i = 0; i < rounds(4000); ++i) {
        const std::string text =
            f.chance(70) ? f.mutate(kSample, kSpecial, 4096) : f.text(f.below(300), kSpecial);
        SettingsFile settings;
        settings.parse(text);
        const bool readable = text.find('\0') == std::string::npos;
        ASSERT_EQ(settings.state() == SettingsFile::State::Read, readable) << i;
        ASSERT_EQ(settings.mayWrite(), readable) << i;

        const std::string& section = f.pick(kSections);
        const std::string& key = f.pick(kKeys);
        const auto value = settings.value(section, key);
        long number = 0;
        const long fallback = -777;
        const long read = settings.readInt(section, key, fallback);
        ASSERT_EQ(read, value && plainInteger(*value, number) ? number : fallback) << i;

        // Written out and read again, every value is the same.
        SettingsFile again;
        again.parse(settings.text());
        for (const std::string& s : kSections)
            for (const std::string& k : kKeys)
                ASSERT_EQ(again.value(s, k), settings.value(s, k)) << i << " " << s << "." << k;

        // A written value reads back as one line, whatever it held, without surrounding blanks.
        const std::string target = section.empty() ? "Ports" : section;
        const std::string name = key.empty() ? "COM3" : key;
        std::string written = f.text(f.below(20), kSpecial.substr(0, 19));
        for (char& c : written)
            c = c == '\0' ? 'x' : c;
        settings.writeString(target, name, written);
        SettingsFile back;
        back.parse(settings.text());
        std::string oneLine = written;
        for (char& c : oneLine)
            c = c == '\r' || c == '\n' ? ' ' : c;
        const std::size_t first = oneLine.find_first_not_of(" \t");
        const std::size_t last = oneLine.find_last_not_of(" \t");
        ASSERT_EQ(back.value(target, name),
                  first == std::string::npos ? "" : oneLine.substr(first, last - first + 1))
            << i;
    }
}

TEST(SettingsFuzz, FilesOnDiskAreReadOrLeftAloneNeverHalfWritten) {
    Fuzzer f(22);
    const test::TempFolder folder("settingsfuzz");
    const std::string path = (folder.path() / "kaldor.INI").string();
    for (std::size_t i = 0; i < rounds(60); ++i) {
        std::string content = f.mutate(kSample, kSpecial, 4096);
        if (i % 25 == 7)
            content.assign(SettingsFile::kMaxFileSize + 1 + f.below(10), 'a');
        std::ofstream(path, std::ios::binary) << content;
        SettingsFile settings(path);
        const bool readable =
            content.find('\0') == std::string::npos && content.size() <= SettingsFile::kMaxFileSize;
        ASSERT_EQ(settings.state() == SettingsFile::State::Read, readable) << i;
        settings.writeInt("Window", "Left", static_cast<long>(f.below(5000)) - 2500);
        ASSERT_EQ(settings.save(), readable) << i;
        std::ifstream in(path, std::ios::binary);
        const std::string after((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        if (readable)
            ASSERT_EQ(after, settings.text()) << i;
        else
            ASSERT_EQ(after, content) << i;  // someone's file stays as it was
        ASSERT_FALSE(std::filesystem::exists(path + ".tmp")) << i;
    }
}

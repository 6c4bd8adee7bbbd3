#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "files/code_pages.h"
#include "files/language_file.h"

using namespace kaldor;

namespace {

using Entries = std::vector<std::pair<TextId, std::string>>;

Entries entriesOf(const LanguageFile& file) {
    Entries out;
    for (const LanguageEntry& e : file.entries)
        out.emplace_back(e.id, e.text);
    return out;
}

struct ParseCase {
    const char* name;
    std::string bytes;
    int codePage;
    Entries entries;
    std::optional<std::string> error;
};

const std::string kLong(300, 'x');
std::string repeated(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

TEST(LanguageFile, ReadsTheFormat) {
    const std::vector<ParseCase> cases = {
        {"single entry", "100001 Readings\r\n", 1252, {{100001, "Readings"}}, {}},
        {"tab separator", "100001\tReadings\n", 1252, {{100001, "Readings"}}, {}},
        {"no separator loses the first letter",
         "100001Readings\n",
         1252,
         {{100001, "eadings"}},
         {}},
        {"comment", "#100001 Readings\n", 1252, {}, {}},
        {"unknown id ignored, later lines apply",
         "123456 x\n100002 Params\n",
         1252,
         {{100002, "Params"}},
         {}},
        {"no final line end", "100001 A\r\n100002 B", 1252, {{100001, "A"}, {100002, "B"}}, {}},
        {"id twice applied twice",
         "100001 A\n100001 B\n",
         1252,
         {{100001, "A"}, {100001, "B"}},
         {}},
        {"byte for byte, a CR inside kept",
         "100001  two  \ra\r\n",
         1252,
         {{100001, " two  \ra"}},
         {}},
        {"empty and short lines skipped, seven characters give an empty text",
         "\n\r\n100001\n12\n100002 \n",
         1252,
         {{100002, ""}},
         {}},
        {"malformed id stops, earlier entries kept",
         "100001 A\n10O002 B\n100003 C\n",
         1252,
         {{100001, "A"}},
         "'10O002' is not a valid integer value"},
        {"text cut to 254 bytes", "100001 " + kLong, 1252, {{100001, kLong.substr(0, 254)}}, {}},
        {"UTF-8 text cut after 254 characters, not bytes",
         "100001 " + repeated("Ж", 300),
         1251,
         {{100001, repeated("Ж", 254)}},
         {}},
        {"cp1251", "100001 \xCF\xF0\xE8\xE1\xEE\xF0\n", 1251, {{100001, "Прибор"}}, {}},
        {"UTF-8 needs no code page", "100001 Прибор\n", 1252, {{100001, "Прибор"}}, {}},
        {"UTF-8 separator dropped whole", "100001\xC2\xA0Прибор", 1252, {{100001, "Прибор"}}, {}},
        {"byte-order mark dropped",
         "\xEF\xBB\xBF#c\n100001 Readings\n",
         1251,
         {{100001, "Readings"}},
         {}},
        {"byte-order mark makes a file UTF-8",
         "\xEF\xBB\xBF"
         "100001 ok\xFF\n",
         1251,
         {{100001, "ok\xEF\xBF\xBD"}},
         {}},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.name);
        const LanguageFile file = parseLanguageText(c.bytes, c.codePage);
        EXPECT_EQ(entriesOf(file), c.entries);
        EXPECT_EQ(file.error, c.error);
    }
}

TEST(LanguageFile, DecodesEachCodePage) {
    struct Case {
        int codePage;
        const char* byte;
        const char* utf8;
    };
    const Case cases[] = {
        {1253, "\xC1", "Α"}, {1253, "\xF9", "ω"},      {874, "\xA1", "ก"},
        {874, "\xDF", "฿"},  {1251, "\xA8", "Ё"},      {1250, "\xB3", "ł"},
        {1250, "\x9A", "š"}, {1257, "\xD0", "Š"},      {1252, "\x80", "€"},
        {1252, "\xE9", "é"}, {1253, "\xAA", "\uFFFD"}, {9999, "\xE9", "\uFFFD"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.codePage) + " " + c.utf8);
        EXPECT_EQ(decodeCodePage(c.byte, c.codePage), c.utf8);
        EXPECT_EQ(decodeCodePage(std::string("a") + c.byte + "z", c.codePage),
                  std::string("a") + c.utf8 + "z");
    }
}

TEST(LanguageFile, RecognisesUtf8) {
    EXPECT_TRUE(isUtf8LanguageText("100001 Ελληνικά"));
    EXPECT_TRUE(
        isUtf8LanguageText("\xEF\xBB\xBF"
                           "100001 plain"));
    EXPECT_FALSE(isUtf8LanguageText("100001 plain"));
    EXPECT_FALSE(isUtf8LanguageText("100001 \xC1\xF9"));      // Greek in 1253
    EXPECT_FALSE(isUtf8LanguageText("100001 \xC0\xAF"));      // overlong "/"
    EXPECT_FALSE(isUtf8LanguageText("100001 \xED\xA0\x80"));  // surrogate
    EXPECT_FALSE(isUtf8LanguageText("100001 \xE0\xB8"));      // cut off by the end
}

TEST(LanguageFile, FromDisk) {
    const std::string path = ::testing::TempDir() + "/lang" + std::to_string(::getpid());
    const LanguageFile missing = readLanguageFile(path + ".none", 1252);
    EXPECT_TRUE(missing.entries.empty());
    EXPECT_EQ(missing.error, std::string(kLanguageFileError));
    EXPECT_EQ(readLanguageFile(::testing::TempDir(), 1252).error, std::string(kLanguageFileError));

    std::ofstream(path, std::ios::binary) << "100003 \xCA\xE0\xEB\xE8\xE1\xF0\xEE\xE2\xEA\xE0";
    const LanguageFile russian = readLanguageFile(path, 1251);
    EXPECT_EQ(entriesOf(russian), (Entries{{100003, "Калибровка"}}));
    EXPECT_FALSE(russian.error);

    std::ofstream(path, std::ios::binary) << std::string(kMaxLanguageFileBytes + 1, '#');
    const LanguageFile large = readLanguageFile(path, 1252);
    EXPECT_TRUE(large.refused);
    EXPECT_NE(large.error->find("\"" + path + "\" was not read: it holds 1048577 bytes"),
              std::string::npos)
        << *large.error;
    std::remove(path.c_str());
}

}  // namespace

#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "files/language_file.h"
#include "files/languages.h"
#include "files/text_ids.h"
#include "live/status_texts.h"

using namespace kaldor;
namespace fs = std::filesystem;

namespace {

class TempFolder {
public:
    explicit TempFolder(const std::string& name)
        : m_path(::testing::TempDir() + "/" + name + std::to_string(::getpid())) {
        fs::remove_all(m_path);
        fs::create_directories(m_path);
    }
    ~TempFolder() { fs::remove_all(m_path); }
    [[nodiscard]] const std::string& path() const { return m_path; }
    void write(const std::string& name, const std::string& bytes) const {
        fs::create_directories(fs::path(m_path / fs::path(name)).parent_path());
        std::ofstream(m_path + "/" + name, std::ios::binary) << bytes;
    }
    [[nodiscard]] std::string read(const std::string& name) const {
        std::ifstream in(m_path + "/" + name, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

private:
    std::string m_path;
};

TEST(LanguageChoice, TheFirstByteIsTheCodeItself) {
    TempFolder base("lanchoice");
    EXPECT_EQ(readLanguageChoice(base.path()), kDefaultLanguageCode);  // missing file

    base.write("lan.txt", "");
    EXPECT_EQ(readLanguageChoice(base.path()), std::nullopt);

    base.write("lan.txt", "\x03rest");
    ASSERT_EQ(readLanguageChoice(base.path()), 3);
    const LanguageDef* russian = findLanguage(3);
    ASSERT_NE(russian, nullptr);
    EXPECT_EQ(russian->fileName, "rus.txt");
    EXPECT_EQ(russian->charset, 204);
    EXPECT_EQ(russian->fontFamily, "Arial");

    base.write("lan.txt", "3");
    ASSERT_EQ(readLanguageChoice(base.path()), 51);
    EXPECT_EQ(findLanguage(51), nullptr);
}

TEST(LanguageChoice, WriteOverwritesTheFirstByteAndNeverCreates) {
    TempFolder base("lanwrite");
    EXPECT_FALSE(writeLanguageChoice(base.path(), 14));
    EXPECT_FALSE(fs::exists(base.path() + "/lan.txt"));

    base.write("lan.txt", std::string("\x01kept", 5));
    EXPECT_TRUE(writeLanguageChoice(base.path(), 14));
    EXPECT_EQ(base.read("lan.txt"), std::string("\x0Ekept", 5));
    EXPECT_EQ(readLanguageChoice(base.path()), 14);
}

TEST(LanguageTable, CodesMenuAndFonts) {
    EXPECT_EQ(findLanguage(0), nullptr);
    EXPECT_EQ(findLanguage(13), nullptr);
    EXPECT_EQ(findLanguage(17), nullptr);
    for (const int noMenu : {7, 8})
        EXPECT_TRUE(findLanguage(noMenu)->menuItem.empty()) << noMenu;

    std::vector<std::string_view> menu;
    for (const std::uint8_t code : languageMenuOrder())
        menu.push_back(findLanguage(code)->menuItem);
    EXPECT_EQ(menu,
              (std::vector<std::string_view>{
                  "English1", "Polish1", "Russian1", "Thai1", "Lithuania1", "German1", "Spain1",
                  "Hungary1", "Czech1", "Grece1", "Portugal1", "Dutch1", "Italian1"}));

    // Character set and the code page its 8-bit texts are decoded with.
    const std::vector<std::tuple<int, int, int>> fonts = {
        {1, 1, 1252},    {2, 1, 1250},   {3, 204, 1251}, {5, 186, 1257},
        {8, 238, 1250},  {9, 238, 1250}, {10, 1, 1250},  {11, 1, 1250},
        {12, 161, 1253}, {14, 222, 874}, {16, 1, 1252},
    };
    for (const auto& [code, charset, codePage] : fonts) {
        const LanguageDef* language = findLanguage(code);
        EXPECT_EQ(language->charset, charset) << code;
        EXPECT_EQ(language->codePage, codePage) << code;
        EXPECT_EQ(usesCalibri(*language), code == 14) << code;
    }
}

TEST(LanguageTable, LanguageFilesAreFoundInTheWorkingFolderFirst) {
    TempFolder base("lanbase");
    TempFolder program("lanprog");
    const LanguageDef& english = *findLanguage(1);
    const LanguageDef& russian = *findLanguage(3);
    EXPECT_EQ(findLanguageFile(base.path(), program.path(), english), std::nullopt);
    EXPECT_EQ(readLanguage(base.path(), program.path(), english).error, "ERROR");

    program.write("lang/ang.txt", "x");
    program.write("lang/rus.txt", "100001 \xD7\xF2\xE5\xED\xE8\xE5");
    base.write("lang/ang.txt", "x");
    EXPECT_EQ(fs::path(*findLanguageFile(base.path(), program.path(), english)),
              fs::path(base.path()) / "lang" / "ang.txt");
    EXPECT_EQ(fs::path(*findLanguageFile(base.path(), program.path(), russian)),
              fs::path(program.path()) / "lang" / "rus.txt");
    const LanguageFile read = readLanguage(base.path(), program.path(), russian);
    ASSERT_EQ(read.entries.size(), 1u);
    EXPECT_EQ(read.entries[0].text, "Чтение");

    // A file over the limit is named with its size, and the shipped file stands in for it.
    base.write("lang/rus.txt", std::string(kMaxLanguageFileBytes + 1, '#'));
    const LanguageFile shipped = readLanguage(base.path(), program.path(), russian);
    ASSERT_EQ(shipped.entries.size(), 1u);
    EXPECT_EQ(shipped.entries[0].text, "Чтение");
    const std::string big = (fs::path(base.path()) / "lang" / "rus.txt").string();
    const std::string used = (fs::path(program.path()) / "lang" / "rus.txt").string();
    EXPECT_EQ(shipped.error, "The language file \"" + big + "\" was not read: it holds " +
                                 std::to_string(kMaxLanguageFileBytes + 1) +
                                 " bytes, more than the " + std::to_string(kMaxLanguageFileBytes) +
                                 " a language file may hold. The shipped file \"" + used +
                                 "\" is used instead.");
}

TEST(TextIds, EveryIdOfEveryRangeAndNoOther) {
    const std::vector<std::pair<TextId, TextId>> ranges = {
        {100001, 100004}, {100101, 100117}, {100121, 100126}, {100201, 100221}, {100301, 100311},
        {100401, 100421}, {100431, 100432}, {100441, 100442}, {100451, 100451}, {100460, 100464},
        {100501, 100506}, {100511, 100514}, {100521, 100521}, {100531, 100534}, {100540, 100544},
        {100550, 100553}, {100601, 100603}, {100611, 100614}, {100621, 100622}, {100701, 100730},
        {100801, 100812}, {100901, 100905},
    };
    std::set<TextId> expected;
    for (const auto& [first, last] : ranges) {
        for (TextId id = first; id <= last; ++id)
            expected.insert(id);
    }
    std::set<TextId> listed;
    for (const TextTarget& t : textIdTable()) {
        EXPECT_TRUE(listed.insert(t.id).second) << "twice: " << t.id;
        EXPECT_EQ(findTextId(t.id), &t);
        const bool named = t.kind != TextKind::ErrorText && t.kind != TextKind::StatusText;
        EXPECT_EQ(!t.control.empty(), named) << t.id;
    }
    EXPECT_EQ(textIdTable().size(), 170u);
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(findTextId(100000), nullptr);
    EXPECT_EQ(findTextId(100731), nullptr);
    // The report's own range, apart from the kit's table.
    for (const TextTarget& t : reportTextIdTable())
        EXPECT_EQ(findTextId(t.id), &t);
    EXPECT_EQ(findTextId(kFirstReportTextId - 1), nullptr);
    EXPECT_EQ(findTextId(kFirstReportTextId + kReportTextIdCount), nullptr);
    for (const TextTarget& t : spokenTextIdTable())
        EXPECT_EQ(findTextId(t.id), &t);
    EXPECT_EQ(findTextId(kFirstSpokenTextId - 1), nullptr);
    EXPECT_EQ(findTextId(kFirstSpokenTextId + kSpokenTextIdCount), nullptr);
    for (const TextTarget& t : cellTextIdTable())
        EXPECT_EQ(findTextId(t.id), &t);
    EXPECT_EQ(findTextId(kFirstCellTextId + kCellTextIdCount), nullptr);
}

TEST(TextIds, Targets) {
    struct Case {
        TextId id;
        TextKind kind;
        std::string_view control;
        int index;
    };
    const Case cases[] = {
        {100001, TextKind::Caption, "TabSheet1", 0},
        {100126, TextKind::Menu, "LoadMap1", 0},
        {100216, TextKind::TextOff, "AbColBitBtnPasBenzyna", 0},
        {100221, TextKind::TextOn, "AbColBitBtnPasGaz", 0},
        {100613, TextKind::TextOn, "AbColBitBtnErase", 0},
        {100531, TextKind::ListItem, "ComboBoxMapReset", 1},
        {100544, TextKind::ListItem, "ComboBoxTpsCutOff", 4},
        {100701, TextKind::ErrorText, "", 0},
        {100730, TextKind::ErrorText, "", 29},
        {100804, TextKind::StatusText, "", 3},
        {100905, TextKind::Caption, "ButtonTempomat", 0},
    };
    for (const Case& c : cases) {
        const TextTarget* t = findTextId(c.id);
        ASSERT_NE(t, nullptr) << c.id;
        EXPECT_EQ(t->kind, c.kind) << c.id;
        EXPECT_EQ(t->control, c.control) << c.id;
        EXPECT_EQ(t->index, c.index) << c.id;
    }
}

TEST(TextIds, ReselectAfterTheLastReplacedEntry) {
    std::set<TextId> reselecting;
    for (const TextTarget& t : textIdTable()) {
        if (t.reselect != Reselect::None)
            reselecting.insert(t.id);
    }
    EXPECT_EQ(reselecting,
              (std::set<TextId>{100432, 100442, 100514, 100521, 100534, 100544, 100553, 100622}));

    EcuImage image;
    const auto pick = [&](TextId id) { return reselectIndex(*findTextId(id), image); };
    EXPECT_EQ(pick(100432), 0);
    EXPECT_EQ(pick(100431), std::nullopt);
    image.setBits(543, 4, 1, 1);  // EGT sensor on
    EXPECT_EQ(pick(100432), 1);
    EXPECT_EQ(pick(100442), 0);
    image.setBits(543, 5, 1, 1);  // turbo on
    EXPECT_EQ(pick(100442), 1);
    image.setBits(541, 4, 1, 1);  // automatic return to propane
    EXPECT_EQ(pick(100622), 1);
    image.setWord(364, 2);  // main map type
    EXPECT_EQ(pick(100514), 2);
    for (const TextId toZero : {100521u, 100534u, 100544u, 100553u})
        EXPECT_EQ(pick(toZero), 0) << toZero;
}

TEST(TextIds, FontsFollowTheLanguageOnTheListedControlsOnly) {
    const auto& controls = fontFollowingControls();
    EXPECT_EQ(controls.front(), "TForm1");
    EXPECT_EQ(controls.back(), "ButtonTempomat");
    EXPECT_EQ(std::set<std::string_view>(controls.begin(), controls.end()).size(), controls.size());
}

TEST(StatusTexts, SetByNumber) {
    StatusTexts texts;
    EXPECT_TRUE(setStatusText(texts, 0, "czas pracy"));
    EXPECT_TRUE(setStatusText(texts, 3, "brak połączenia"));
    EXPECT_TRUE(setStatusText(texts, 11, "BRAK błędów"));
    EXPECT_FALSE(setStatusText(texts, 12, "x"));
    EXPECT_EQ(texts.workTime, "czas pracy");
    EXPECT_EQ(texts.noConnection, "brak połączenia");
    EXPECT_EQ(texts.noErrors, "BRAK błędów");
    EXPECT_EQ(texts.errorCom, "error COMx");
}

}  // namespace

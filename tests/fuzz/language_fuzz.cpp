// Language files as translators, editors and transfers leave them: the shipped files mutated
// (bytes changed, lines cut or doubled, ids broken, code pages mixed with UTF-8), random bytes,
// oversized files. Outcome: only ids the table lists are taken, every text is well-formed UTF-8
// no longer than a cut 254-byte text can decode to, and a malformed id stops the reading with
// its message, keeping the entries before it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "files/code_pages.h"
#include "files/language_file.h"
#include "files/languages.h"
#include "fuzz/fuzz_support.h"
#include "support/temp_folder.h"

using namespace kaldor;
using namespace kaldor::fuzz;

namespace {

std::string shipped(const LanguageDef& language) {
    std::ifstream in(std::string(KALDOR_LANG_DIR) + "/" + std::string(language.fileName),
                     std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void expectWellFormed(const LanguageFile& file, std::size_t i) {
    for (const LanguageEntry& e : file.entries) {
        ASSERT_NE(findTextId(e.id), nullptr) << i;
        ASSERT_TRUE(isValidUtf8(e.text)) << i;
        // 254 characters: a UTF-8 one is four bytes at most, a code-page or replaced byte three.
        ASSERT_LE(e.text.size(), 4 * kMaxLanguageTextChars) << i;
    }
    if (file.error) {
        const std::string& m = *file.error;
        const std::string tail = "' is not a valid integer value";
        ASSERT_TRUE(m.size() > tail.size() && m.front() == '\'' &&
                    m.compare(m.size() - tail.size(), tail.size(), tail) == 0)
            << i << " " << m;
    }
}

}  // namespace

TEST(LanguageFuzz, MutatedLanguageFilesGiveOnlyListedIdsAndWellFormedTexts) {
    Fuzzer f(31);
    std::vector<std::pair<std::string, int>> seeds;
    for (const LanguageDef& language : languages()) {
        const std::string text = shipped(language);
        ASSERT_FALSE(text.empty()) << language.fileName;
        const LanguageFile file = parseLanguageText(text, language.codePage);
        ASSERT_FALSE(file.error.has_value()) << language.fileName;
        ASSERT_GT(file.entries.size(), 100u) << language.fileName;
        seeds.emplace_back(text, language.codePage);
    }
    const std::vector<int> codePages{1250, 1251, 1252, 1253, 1257, 874, 0, 65001, -1};
    std::size_t stopped = 0;
    for (std::size_t i = 0; i < rounds(2000); ++i) {
        const auto& [seed, codePage] = f.pick(seeds);
        const std::string text =
            f.chance(85) ? f.mutate(seed, "#\r\n 0123456789\xEF\xBB\xBF\xC3\xA9\x80\xFF", 20000)
                         : f.text(f.below(2000), "#\r\n 0123456789\xC3\xA9");
        const LanguageFile file =
            parseLanguageText(text, f.chance(80) ? codePage : f.pick(codePages));
        expectWellFormed(file, i);
        stopped += file.error.has_value();
    }
    EXPECT_GT(stopped, 0u);  // the malformed-id path was reached
}

TEST(LanguageFuzz, FilesOnDiskAreReadOrRefusedWhole) {
    Fuzzer f(32);
    const test::TempFolder folder("langfuzz");
    const std::string path = (folder.path() / "ang.txt").string();
    const std::string seed = shipped(*findLanguage(1));
    for (std::size_t i = 0; i < rounds(100); ++i) {
        std::string content = f.mutate(seed, "#\r\n 0123456789", 20000);
        const bool oversized = i % 40 == 3;
        if (oversized)
            content.append(kMaxLanguageFileBytes, '#');
        std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
        const LanguageFile file = readLanguageFile(path, 1252);
        if (oversized) {
            ASSERT_TRUE(file.refused) << i;
            ASSERT_NE(file.error->find(path), std::string::npos) << i;
            ASSERT_TRUE(file.entries.empty()) << i;
        } else {
            expectWellFormed(file, i);
        }
    }
    // A folder where the file should be is refused like a missing file.
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    EXPECT_EQ(readLanguageFile(path, 1252).error, std::string(kLanguageFileError));
}

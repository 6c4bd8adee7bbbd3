// The shipped files of an installed copy: the executable in <prefix>/bin finds them in
// <prefix>/share/kaldor, after the working folder and the executable's own folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "files/data_folders.h"
#include "files/language_file.h"
#include "files/languages.h"
#include "support/temp_folder.h"

using namespace kaldor;
namespace fs = std::filesystem;

namespace {

void put(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace

TEST(DataFolders, InstalledCopyFindsItsLanguagesAndHelpInTheSharedFolder) {
    const test::TempFolder root("prefix");
    const fs::path bin = root.path() / "usr" / "bin";
    const fs::path share = root.path() / "usr" / "share" / "kaldor";
    const fs::path work = root.path() / "work";
    fs::create_directories(bin);
    fs::create_directories(work);
    EXPECT_EQ(fs::path(installedDataFolder(bin.string())), share);

    const LanguageDef& english = *findLanguage(1);
    EXPECT_EQ(findLanguageFile(work.string(), bin.string(), english), std::nullopt);
    put(share / "lang" / "ang.txt", "100001 Read");
    const auto installed = findLanguageFile(work.string(), bin.string(), english);
    ASSERT_TRUE(installed.has_value());
    EXPECT_EQ(fs::path(*installed), share / "lang" / "ang.txt");
    const LanguageFile read = readLanguage(work.string(), bin.string(), english);
    ASSERT_EQ(read.entries.size(), 1u);
    EXPECT_EQ(read.entries[0].text, "Read");

    // A copy beside the executable, and one in the working folder, each come first.
    put(bin / "lang" / "ang.txt", "x");
    EXPECT_EQ(fs::path(*findLanguageFile(work.string(), bin.string(), english)),
              bin / "lang" / "ang.txt");
    put(work / "lang" / "ang.txt", "x");
    EXPECT_EQ(fs::path(*findLanguageFile(work.string(), bin.string(), english)),
              work / "lang" / "ang.txt");

    // The help folder: beside the executable when there, else installed, else the usual place.
    EXPECT_EQ(fs::path(findDataFolder(bin.string(), "sch")), bin / "sch");
    fs::create_directories(share / "sch");
    EXPECT_EQ(fs::path(findDataFolder(bin.string(), "sch")), share / "sch");
    fs::create_directories(bin / "sch");
    EXPECT_EQ(fs::path(findDataFolder(bin.string(), "sch")), bin / "sch");
}

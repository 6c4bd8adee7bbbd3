// Prints where the core finds a language file for a program in `programFolder` started in
// `workingFolder`, and how many texts it read: the install test's view of an installed copy.
#include <cstdio>
#include <string>

#include "files/language_file.h"
#include "files/languages.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: language_probe WORKING_FOLDER PROGRAM_FOLDER CODE\n");
        return 2;
    }
    const kaldor::LanguageDef* language = kaldor::findLanguage(std::stoi(argv[3]));
    if (language == nullptr)
        return 2;
    const auto path = kaldor::findLanguageFile(argv[1], argv[2], *language);
    const kaldor::LanguageFile file = kaldor::readLanguage(argv[1], argv[2], *language);
    if (!path || file.error || file.entries.empty()) {
        std::fprintf(stderr, "no language file found for %s\n", argv[2]);
        return 1;
    }
    std::printf("%s\n%zu\n", path->c_str(), file.entries.size());
    return 0;
}

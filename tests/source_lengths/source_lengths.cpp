// Counts the lines of every file under a source root (src/) and names each that has more than
// the limit, so no file grows past what one reader takes in: a longer file is split along its
// seams instead.
//
// Prints "path: N lines" for every file over the limit, then how many were, and fails when any
// was. A last line without its line feed counts as a line.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::size_t lineCount(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto feeds = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    return feeds + (!text.empty() && text.back() != '\n' ? 1 : 0);
}

}  // namespace

int main(int argc, char** argv) {
    char* end = nullptr;
    const unsigned long limit = argc == 3 ? std::strtoul(argv[2], &end, 10) : 0;
    if (argc != 3 || end == argv[2] || *end != '\0') {
        std::cerr << "usage: source_lengths <source root> <most lines a file may have>\n";
        return 2;
    }
    const fs::path root = fs::path(argv[1]).lexically_normal();
    std::error_code error;
    if (!fs::is_directory(root, error)) {
        std::cerr << root.generic_string() << ": no such folder\n";
        return 2;
    }
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::size_t longer = 0;
    for (const fs::path& file : files) {
        const std::size_t lines = lineCount(file);
        if (lines <= limit)
            continue;
        ++longer;
        std::cout << (root.filename() / file.lexically_relative(root)).generic_string() << ": "
                  << lines << " lines\n";
    }
    std::cout << longer << " of the " << files.size() << " files have more than " << limit
              << " lines\n";
    return longer == 0 ? 0 : 1;
}

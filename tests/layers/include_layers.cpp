// Reads every `#include "folder/..."` of the .h and .cpp files under a source root (src/) and
// checks it against the layers the program is built in:
//
//   model <- link <- files <- live <- maps <- emulation, diagnostics <- service
//
// A core folder includes its own files and folders further left, never one further right and
// never the folder beside it (emulation and diagnostics know nothing of each other), so no two
// folders can include each other, however long the way round. Above the core: widgets/ includes
// itself and model/; report/ the core; ui/ the core, widgets/ and report/; cli/ the core and
// report/; app/ any of them. No core file includes Qt, except the serial port adapter in link/.
//
// Prints "path:line: why" for every include that breaks a rule, then how many did, and fails
// when any did.
#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct CoreFolder {
    std::string_view name;
    int rank;  // an include goes to a lower rank only; the same rank is a folder beside it
};

// The core, bottom first.
constexpr std::array<CoreFolder, 8> kCore{{
    {"model", 0},
    {"link", 1},
    {"files", 2},
    {"live", 3},
    {"maps", 4},
    {"emulation", 5},
    {"diagnostics", 5},
    {"service", 6},
}};

// Above the core: whether a folder may include the whole core (`core`), and the folders it may
// include besides itself.
struct FrontEnd {
    std::string_view name;
    bool core;
    std::array<std::string_view, 4> others;
};

constexpr std::array<FrontEnd, 5> kFrontEnds{{
    {"widgets", false, {"model"}},
    {"report", true, {}},
    {"ui", true, {"widgets", "report"}},
    {"cli", true, {"report"}},
    {"app", true, {"widgets", "ui", "cli", "report"}},
}};

// The one core place that may include Qt: the serial port adapter.
constexpr std::array<std::string_view, 2> kQtInCore{"link/qt_serial_port.h",
                                                    "link/qt_serial_port.cpp"};

constexpr std::string_view kOrderText =
    "model <- link <- files <- live <- maps <- emulation, diagnostics <- service";

const CoreFolder* coreFolder(std::string_view name) {
    const auto it = std::find_if(kCore.begin(), kCore.end(),
                                 [name](const CoreFolder& f) { return f.name == name; });
    return it == kCore.end() ? nullptr : &*it;
}

const FrontEnd* frontEnd(std::string_view name) {
    const auto it = std::find_if(kFrontEnds.begin(), kFrontEnds.end(),
                                 [name](const FrontEnd& f) { return f.name == name; });
    return it == kFrontEnds.end() ? nullptr : &*it;
}

// Why `from` may not include `to`; nothing when it may.
std::optional<std::string> broken(const std::string& from, const std::string& to) {
    if (from == to)
        return std::nullopt;
    const CoreFolder* coreFrom = coreFolder(from);
    const CoreFolder* coreTo = coreFolder(to);
    if (coreTo == nullptr && frontEnd(to) == nullptr)
        return to + "/ is no folder of the layers";
    if (coreFrom != nullptr) {
        if (coreTo == nullptr)
            return from + "/ is core and includes " + to + "/, which is above the core";
        if (coreTo->rank == coreFrom->rank)
            return from + "/ includes " + to + "/, which lies beside it (" +
                   std::string(kOrderText) + ")";
        if (coreTo->rank > coreFrom->rank)
            return from + "/ includes " + to + "/, which lies above it (" +
                   std::string(kOrderText) + ")";
        return std::nullopt;
    }
    const FrontEnd* front = frontEnd(from);
    if (front == nullptr)
        return from + "/ is no folder of the layers";
    if ((coreTo != nullptr && front->core) ||
        std::find(front->others.begin(), front->others.end(), to) != front->others.end())
        return std::nullopt;
    return from + "/ includes " + to + "/, which it may not";
}

struct Finding {
    std::string where;  // path:line
    std::string why;
};

void checkFile(const fs::path& root, const fs::path& file, std::vector<Finding>& findings) {
    const std::string relative = file.lexically_relative(root).generic_string();
    const std::string folder = relative.substr(0, relative.find('/'));
    const bool qtAllowed =
        coreFolder(folder) == nullptr ||
        std::find(kQtInCore.begin(), kQtInCore.end(), relative) != kQtInCore.end();
    static const std::regex kQuoted(R"(^\s*#\s*include\s*"([^"/]+)/)");
    static const std::regex kQt(R"(^\s*#\s*include\s*<(Qt?[A-Z][A-Za-z]*)[/>])");
    std::ifstream in(file);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const std::string where =
            (root.filename() / relative).generic_string() + ":" + std::to_string(number);
        std::smatch m;
        if (std::regex_search(line, m, kQuoted)) {
            if (const auto why = broken(folder, m[1].str()))
                findings.push_back({where, *why});
        } else if (!qtAllowed && std::regex_search(line, m, kQt)) {
            findings.push_back({where, folder + "/ is core and includes Qt (<" + m[1].str() +
                                           ">); only the serial port adapter may"});
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: include_layers <source root>\n";
        return 2;
    }
    const fs::path root = fs::path(argv[1]).lexically_normal();
    std::error_code error;
    if (!fs::is_directory(root, error)) {
        std::cerr << root.generic_string() << ": no such folder\n";
        return 2;
    }
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
        const fs::path& path = entry.path();
        const bool source = path.extension() == ".h" || path.extension() == ".cpp";
        // Files beside the folders (none today) belong to no layer.
        if (entry.is_regular_file() && source && path.parent_path() != root)
            files.push_back(path);
    }
    std::sort(files.begin(), files.end());
    std::vector<Finding> findings;
    for (const fs::path& file : files) {
        const std::string relative = file.lexically_relative(root).generic_string();
        const std::string folder = relative.substr(0, relative.find('/'));
        if (coreFolder(folder) == nullptr && frontEnd(folder) == nullptr)
            findings.push_back({(root.filename() / relative).generic_string() + ":1",
                                folder + "/ is no folder of the layers"});
        else
            checkFile(root, file, findings);
    }
    for (const Finding& f : findings)
        std::cout << f.where << ": " << f.why << '\n';
    std::cout << findings.size() << " of the includes in " << files.size()
              << " files break the layers\n";
    return findings.empty() ? 0 : 1;
}

#include "files/data_folders.h"

#include <filesystem>
#include <system_error>

namespace kaldor {
namespace {

namespace fs = std::filesystem;

bool isFolder(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

}  // namespace

std::string installedDataFolder(const std::string& programFolder) {
    const fs::path folder = fs::path(programFolder) / fs::path(std::string(kInstalledDataFolder));
    return folder.lexically_normal().string();
}

std::string findDataFolder(const std::string& programFolder, std::string_view name) {
    const fs::path beside = fs::path(programFolder) / fs::path(std::string(name));
    if (isFolder(beside))
        return beside.string();
    const fs::path installed = fs::path(installedDataFolder(programFolder)) / std::string(name);
    if (isFolder(installed))
        return installed.string();
    return beside.string();
}

}  // namespace kaldor

#include "files/settings_location.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace kaldor {
namespace {

namespace fs = std::filesystem;

constexpr char kUserSettingsFile[] = "kaldor.INI";
constexpr char kProgramFolderName[] = "kaldor";

std::string variable(const SettingsEnvironment& environment, const char* name) {
    const char* value = environment ? environment(name) : std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

// For comparing Windows paths: one slash, no case, no slash at the end.
std::string comparable(std::string path) {
    for (char& c : path) {
        if (c == '\\')
            c = '/';
        else if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    while (!path.empty() && path.back() == '/')
        path.pop_back();
    return path;
}

}  // namespace

std::string userFolder(UserFolder which, const SettingsEnvironment& environment) {
    fs::path base;
#ifdef _WIN32
    (void)which;
    base = variable(environment, "APPDATA");
    if (base.empty())
        base = variable(environment, "LOCALAPPDATA");
#else
    const bool data = which == UserFolder::Data;
    base = variable(environment, data ? "XDG_DATA_HOME" : "XDG_CONFIG_HOME");
    if (base.empty() || !base.is_absolute()) {
        const std::string home = variable(environment, "HOME");
        base = home.empty() ? fs::path()
               : data       ? fs::path(home) / ".local" / "share"
                            : fs::path(home) / ".config";
    }
#endif
    if (base.empty())
        return {};
    return (base / kProgramFolderName).string();
}

bool folderWritable(const std::string& folder) {
    std::error_code error;
    if (folder.empty() || !fs::is_directory(folder, error))
        return false;
#ifdef _WIN32
    // Windows has no answer short of trying: a file created and removed at once.
    const fs::path probe = fs::path(folder) / (".kaldor-write-test-" + std::to_string(_getpid()));
    std::FILE* f = std::fopen(probe.string().c_str(), "wb");
    if (f == nullptr)
        return false;
    std::fclose(f);
    fs::remove(probe, error);
    return true;
#else
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
#endif
}

bool inProgramFiles(const std::string& programFolder, const SettingsEnvironment& environment) {
    const std::string folder = comparable(programFolder);
    for (const char* name : {"ProgramFiles", "ProgramW6432", "ProgramFiles(x86)"}) {
        const std::string base = comparable(variable(environment, name));
        if (!base.empty() && folder.size() > base.size() &&
            folder.compare(0, base.size(), base) == 0 && folder[base.size()] == '/')
            return true;
    }
    return false;
}

SettingsLocation locateSettings(const std::string& programFolder, const std::string& fileName,
                                const SettingsEnvironment& environment,
                                const std::function<bool(const std::string&)>& writable) {
    const std::string beside = (fs::path(programFolder) / fileName).string();
    const bool mayWrite = !inProgramFiles(programFolder, environment) &&
                          (writable ? writable(programFolder) : folderWritable(programFolder));
    if (mayWrite)
        return {beside, {}};
    const std::string userFolder = userSettingsFolder(environment);
    // Without a configuration folder there is nowhere else: the file beside the program is read,
    // and a write is refused and said.
    if (userFolder.empty())
        return {beside, {}};
    return {(fs::path(userFolder) / kUserSettingsFile).string(), beside};
}

}  // namespace kaldor

#pragma once
// Where the program's settings file lives. A copy in a folder the user may write (a build, an
// unpacked folder) keeps it beside the program, as it always has, so a portable copy carries its
// settings along. An installed copy, whose folder only the administrator may write, keeps the
// user's own file in the user's configuration folder; the file beside the program is then still
// read first, so the administrator's port mapping and defaults hold until the user's file says
// otherwise.
#include <functional>
#include <string>

namespace kaldor {

// Looks an environment variable up: std::getenv unless a test gives another.
using SettingsEnvironment = std::function<const char*(const char*)>;

struct SettingsLocation {
    std::string file;      // read and written
    std::string fallback;  // read under `file` (entries `file` lacks come from here); may be empty
};

// The two per-user folders of this program.
enum class UserFolder {
    Configuration,  // $XDG_CONFIG_HOME/kaldor, else ~/.config/kaldor
    Data,           // $XDG_DATA_HOME/kaldor, else ~/.local/share/kaldor
};

// `which` of the user's folders for this program (an XDG variable that is not absolute is
// ignored); %APPDATA%\kaldor (else %LOCALAPPDATA%\kaldor) for both on Windows. Empty when none
// can be found.
[[nodiscard]] std::string userFolder(UserFolder which, const SettingsEnvironment& environment = {});

// The user's configuration folder for this program.
[[nodiscard]] inline std::string userSettingsFolder(const SettingsEnvironment& environment = {}) {
    return userFolder(UserFolder::Configuration, environment);
}

// Whether the current user may create files in `folder`.
[[nodiscard]] bool folderWritable(const std::string& folder);

// Whether `programFolder` lies in one of Windows' program folders (%ProgramFiles%,
// %ProgramW6432%, %ProgramFiles(x86)%; letters in any case, either slash). A copy there was
// installed, and its folder is not the user's to write even when this user may (an administrator,
// or Wine, which keeps no users apart). False wherever those variables are not set.
[[nodiscard]] bool inProgramFiles(const std::string& programFolder,
                                  const SettingsEnvironment& environment = {});

// `fileName` beside the program when its folder is writable and not in the program folders;
// otherwise "kaldor.INI" in the user's configuration folder over the file beside the program.
// `writable` decides about the folder (folderWritable unless a test gives another).
[[nodiscard]] SettingsLocation locateSettings(
    const std::string& programFolder, const std::string& fileName,
    const SettingsEnvironment& environment = {},
    const std::function<bool(const std::string&)>& writable = {});

}  // namespace kaldor

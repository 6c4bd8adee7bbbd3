#pragma once
// Where the program's shipped files (language files, the help folder) are found. A copy run from
// its build or unpacked folder has them beside the executable; an installed copy has them in the
// shared data folder of its prefix (/usr/bin/kaldor reads /usr/share/kaldor).
#include <string>
#include <string_view>

namespace kaldor {

// Relative to the executable's folder.
inline constexpr std::string_view kInstalledDataFolder = "../share/kaldor";

// programFolder/../share/kaldor, without the "..".
[[nodiscard]] std::string installedDataFolder(const std::string& programFolder);

// The folder `name` beside the executable when it is there, otherwise in the installed data
// folder when it is there, otherwise beside the executable (so a message names the usual place).
[[nodiscard]] std::string findDataFolder(const std::string& programFolder, std::string_view name);

}  // namespace kaldor

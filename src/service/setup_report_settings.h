#pragma once
// What the set-up report's dialog remembers in the settings file: the installer's fields once,
// the vehicle's under its controller's serial number, and the paper.
#include <cstdint>
#include <optional>
#include <string>

#include "files/settings_file.h"

namespace kaldor {

enum class Paper { A4, Letter };

// What the user fills in once: the installer's own fields stay from report to report, the
// vehicle's belong to one controller's serial number.
struct ReportFields {
    std::string vehicle;
    std::string registration;
    std::string odometer;
    std::string installer;
    std::string workshop;
};

// The paper as the settings file and the command line name it: "a4" or "letter".
[[nodiscard]] std::optional<Paper> paperNamed(const std::string& name);
[[nodiscard]] const char* paperName(Paper paper);

// Where the fields are remembered: the installer's once, the vehicle's under its controller's
// serial number (none for an image without one).
[[nodiscard]] ReportFields rememberedReportFields(const SettingsFile& settings,
                                                  std::uint32_t serial);
void rememberReportFields(SettingsFile& settings, std::uint32_t serial, const ReportFields& fields);
[[nodiscard]] Paper rememberedPaper(const SettingsFile& settings);
void rememberPaper(SettingsFile& settings, Paper paper);

}  // namespace kaldor

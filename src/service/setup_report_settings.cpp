#include "service/setup_report_settings.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <utility>

namespace kaldor {
namespace {

constexpr const char* kReportSection = "Report";
const std::string kReportSectionName = kReportSection;
constexpr const char* kVehicleSectionPrefix = "Report ";

std::string vehicleSection(std::uint32_t serial) {
    return kVehicleSectionPrefix + std::to_string(serial);
}

}  // namespace

std::optional<Paper> paperNamed(const std::string& name) {
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    if (lower == "a4")
        return Paper::A4;
    if (lower == "letter")
        return Paper::Letter;
    return std::nullopt;
}

const char* paperName(Paper paper) {
    return paper == Paper::Letter ? "letter" : "a4";
}

ReportFields rememberedReportFields(const SettingsFile& settings, std::uint32_t serial) {
    ReportFields f;
    f.installer = settings.readString(kReportSection, "Installer", "");
    f.workshop = settings.readString(kReportSection, "Workshop", "");
    const std::string vehicle = vehicleSection(serial);
    f.vehicle = settings.readString(vehicle, "Vehicle", "");
    f.registration = settings.readString(vehicle, "Registration", "");
    f.odometer = settings.readString(vehicle, "Odometer", "");
    return f;
}

void rememberReportFields(SettingsFile& settings, std::uint32_t serial, const ReportFields& f) {
    const std::string vehicle = vehicleSection(serial);
    const std::pair<const std::string*, const char*> places[] = {
        {&kReportSectionName, "Installer"},
        {&kReportSectionName, "Workshop"},
        {&vehicle, "Vehicle"},
        {&vehicle, "Registration"},
        {&vehicle, "Odometer"},
    };
    const std::string* values[] = {&f.installer, &f.workshop, &f.vehicle, &f.registration,
                                   &f.odometer};
    for (std::size_t i = 0; i < std::size(places); ++i) {
        // One line each: a line break would end the entry in the file.
        std::string value = *values[i];
        std::replace_if(
            value.begin(), value.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
        // What has not changed is not written, so an untouched field adds nothing to the file.
        if (settings.value(*places[i].first, places[i].second).value_or("") != value)
            settings.writeString(*places[i].first, places[i].second, value);
    }
}

Paper rememberedPaper(const SettingsFile& settings) {
    return paperNamed(settings.readString(kReportSection, "Paper", "")).value_or(Paper::A4);
}

void rememberPaper(SettingsFile& settings, Paper paper) {
    if (rememberedPaper(settings) != paper)
        settings.writeString(kReportSection, "Paper", paperName(paper));
}

}  // namespace kaldor

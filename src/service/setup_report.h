#pragma once
// The set-up report an installer hands over with a conversion: who did what to which vehicle,
// the controller, every setting as its page shows it, the maps, the error memory and what was
// changed from the factory settings. One self-contained HTML document (inline styles, the main
// map's colours in its cells), which a browser shows as it stands and the report library turns
// into a PDF or a print.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "files/settings_file.h"
#include "model/ecu_image.h"
#include "service/setup_description.h"

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

struct ControllerRevisions {
    unsigned hardware = 0;
    unsigned software = 0;
};

// The facts around the image, all given by the caller so the report holds nothing it read by
// itself (the date above all).
struct ReportFacts {
    std::string date;
    std::string programVersion;
    // Nothing for a file: only a connected controller tells its revisions.
    std::optional<ControllerRevisions> revisions;
    ReportFields fields;
    // The error memory's rows as its list shows them (code and text); nothing when not read.
    std::optional<std::vector<std::string>> errorRows;
    Paper paper = Paper::A4;
};

// The report's own headings. The language files have no texts for them, so they are English.
struct ReportCaptions {
    const char* title = "Set-up report";
    const char* date = "date";
    const char* program = "program";
    const char* controller = "Controller";
    const char* hardware = "hardware revision";
    const char* software = "software revision";
    const char* serial = "serial number";
    const char* notKnown = "not known (read from a file)";
    const char* vehicle = "vehicle";
    const char* registration = "registration";
    const char* odometer = "odometer";
    const char* installer = "installer";
    const char* workshop = "workshop";
    const char* differences = "Changed from the factory settings";
    const char* thisSetUp = "this set-up";
    const char* factory = "factory";
    const char* noDifferences = "none: the factory settings";
    const char* internalDifferences = "locations no page shows differ as well: ";
    const char* errors = "Error memory";
    const char* notRead = "not read";
    const char* settings = "Settings";
    const char* mainMap = "Main map";
    const char* correctionMaps = "Correction maps";
    const char* cruiseMap = "Cruise map";
    const char* emulatorTables = "Emulator tables";
};

[[nodiscard]] std::string setupReportHtml(const EcuImage& image, const SetupTexts& texts,
                                          const ReportFacts& facts);

// The image as the factory settings would leave this controller: its own parts, work times and
// PIN kept.
[[nodiscard]] EcuImage factoryImageFor(const EcuImage& image);

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

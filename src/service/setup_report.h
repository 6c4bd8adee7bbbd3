#pragma once
// The set-up report an installer hands over with a conversion: who did what to which vehicle,
// the controller, every setting as its page shows it, the maps, the error memory and what was
// changed from the factory settings. One self-contained HTML document (inline styles, the main
// map's colours in its cells), which a browser shows as it stands and the report library turns
// into a PDF or a print. Its parts are written in setup_report.cpp and setup_report_maps.cpp;
// what its dialog remembers is setup_report_settings.h's.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/text_ids.h"
#include "model/ecu_image.h"
#include "service/setup_description.h"
#include "service/setup_report_settings.h"

namespace kaldor {

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

// The report's own texts and its dialog's, in the order of their ids in the language files
// (kFirstReportTextId on).
enum class ReportCaption : std::uint8_t {
    Title,
    Date,
    Program,
    Controller,
    Hardware,
    Software,
    Serial,
    NotKnown,
    Vehicle,
    Registration,
    Odometer,
    Installer,
    Workshop,
    Differences,
    ThisSetUp,
    Factory,
    NoDifferences,
    InternalDifferences,
    Errors,
    NotRead,
    Settings,
    MainMap,
    CorrectionMaps,
    CruiseMap,
    EmulatorTables,
    Paper,
    PrintPreview,
    SavePdf,
    SaveHtml,
    Close,
    DialogTitle,
    MenuItem,
    Saved,
    Count,
};

// The built-in (English) text of each, in the order of ReportCaption.
struct ReportCaptionText {
    ReportCaption caption;
    std::string_view english;
};
inline constexpr ReportCaptionText kReportCaptions[] = {
    {ReportCaption::Title, "Set-up report"},
    {ReportCaption::Date, "date"},
    {ReportCaption::Program, "program"},
    {ReportCaption::Controller, "Controller"},
    {ReportCaption::Hardware, "hardware revision"},
    {ReportCaption::Software, "software revision"},
    {ReportCaption::Serial, "serial number"},
    {ReportCaption::NotKnown, "not known (read from a file)"},
    {ReportCaption::Vehicle, "vehicle"},
    {ReportCaption::Registration, "registration"},
    {ReportCaption::Odometer, "odometer"},
    {ReportCaption::Installer, "installer"},
    {ReportCaption::Workshop, "workshop"},
    {ReportCaption::Differences, "Changed from the factory settings"},
    {ReportCaption::ThisSetUp, "this set-up"},
    {ReportCaption::Factory, "factory"},
    {ReportCaption::NoDifferences, "none: the factory settings"},
    {ReportCaption::InternalDifferences, "locations no page shows differ as well:"},
    {ReportCaption::Errors, "Error memory"},
    {ReportCaption::NotRead, "not read"},
    {ReportCaption::Settings, "Settings"},
    {ReportCaption::MainMap, "Main map"},
    {ReportCaption::CorrectionMaps, "Correction maps"},
    {ReportCaption::CruiseMap, "Cruise map"},
    {ReportCaption::EmulatorTables, "Emulator tables"},
    {ReportCaption::Paper, "paper"},
    {ReportCaption::PrintPreview, "print preview..."},
    {ReportCaption::SavePdf, "save as PDF..."},
    {ReportCaption::SaveHtml, "save as HTML..."},
    {ReportCaption::Close, "close"},
    {ReportCaption::DialogTitle, "print report"},
    {ReportCaption::MenuItem, "print report..."},
    {ReportCaption::Saved, "report saved to"},
};
static_assert(std::size(kReportCaptions) == static_cast<std::size_t>(ReportCaption::Count));
static_assert(std::size(kReportCaptions) == static_cast<std::size_t>(kReportTextIdCount));
static_assert(
    [] {
        for (std::size_t i = 0; i < std::size(kReportCaptions); ++i)
            if (static_cast<std::size_t>(kReportCaptions[i].caption) != i)
                return false;
        return true;
    }(),
    "every caption in its place");

// The chosen language's text of a caption, else the built-in one.
[[nodiscard]] std::string reportCaption(const SetupTexts& texts, ReportCaption caption);

[[nodiscard]] std::string setupReportHtml(const EcuImage& image, const SetupTexts& texts,
                                          const ReportFacts& facts);

// The image as the factory settings would leave this controller: its own parts, work times and
// PIN kept.
[[nodiscard]] EcuImage factoryImageFor(const EcuImage& image);

}  // namespace kaldor

#include "service/setup_report.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <set>
#include <string_view>

#include "emulation/emulator_maps.h"
#include "maps/correction_maps.h"
#include "maps/grid_headings.h"
#include "maps/main_map.h"
#include "model/controller_defaults.h"
#include "service/image_diff.h"

namespace kaldor {
namespace {

constexpr const char* kReportSection = "Report";
const std::string kReportSectionName = kReportSection;
constexpr const char* kVehicleSectionPrefix = "Report ";

// Styles both a browser and the PDF's text layout understand: the tables' borders are given as
// attributes too, which is what the text layout reads.
constexpr const char* kStyle =
    "body{font-family:sans-serif;font-size:9pt;color:#000}"
    "h1{font-size:16pt;margin:0 0 6pt 0}"
    "h2{font-size:12pt;margin:10pt 0 4pt 0}"
    "h3{font-size:10pt;margin:8pt 0 3pt 0}"
    "table{border-collapse:collapse;margin:0 0 4pt 0}"
    "th,td{border:1px solid #808080;padding:1pt 4pt;text-align:left;vertical-align:top}"
    "th{background-color:#e8e8e8;font-weight:normal}"
    "td.cell{text-align:right;min-width:18pt}"
    "td.narrow,th.narrow{text-align:right;font-size:7pt;padding:1pt 2pt}"
    ".break{page-break-before:always}";

constexpr const char* kTable = "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">";
// The settings' tables, one a group, all with the same columns.
constexpr const char* kSettingsTable =
    "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">";
constexpr const char* kSettingCaption = "<tr><th width=\"45%\">";

std::string escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string cssColour(Rgb c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c.red, c.green, c.blue);
    return text;
}

std::string withUnit(const SetupLine& line) {
    return line.unit.empty() ? line.value : line.value + " " + line.unit;
}

std::string row(std::string_view caption, std::string_view value) {
    return "<tr><th>" + escaped(caption) + "</th><td>" + escaped(value) + "</td></tr>";
}

// The part of a cell's name before or after " x ": a map cell is named "row x column".
std::pair<std::string, std::string> splitName(const std::string& name) {
    const std::size_t at = name.find(" x ");
    if (at == std::string::npos)
        return {std::string(), name};
    return {name.substr(0, at), name.substr(at + 3)};
}

std::vector<const SetupLine*> linesOf(const SetupDescription& d, FieldId id) {
    std::vector<const SetupLine*> lines;
    for (const SetupLine& l : d.maps)
        if (l.field == id)
            lines.push_back(&l);
    return lines;
}

// The report's texts in the chosen language, looked up once.
class Captions {
public:
    explicit Captions(const SetupTexts& texts) {
        for (const ReportCaptionText& c : kReportCaptions)
            m_texts[static_cast<std::size_t>(c.caption)] = reportCaption(texts, c.caption);
    }
    const std::string& operator()(ReportCaption caption) const {
        return m_texts[static_cast<std::size_t>(caption)];
    }
    std::string tagged(ReportCaption caption, const char* tag = "h2") const {
        return std::string("<") + tag + ">" + escaped((*this)(caption)) + "</" + tag + ">";
    }

private:
    std::array<std::string, std::size(kReportCaptions)> m_texts;
};

void controllerPart(std::string& html, const EcuImage& image, const ReportFacts& facts,
                    const Captions& c) {
    using C = ReportCaption;
    html += c.tagged(C::Controller) + kTable;
    html += row(c(C::Serial), std::to_string(readField(image, FieldId::ControllerSerialNumber)));
    const std::string hardware =
        facts.revisions ? std::to_string(facts.revisions->hardware) : c(C::NotKnown);
    const std::string software =
        facts.revisions ? std::to_string(facts.revisions->software) : c(C::NotKnown);
    html += row(c(C::Hardware), hardware);
    html += row(c(C::Software), software);
    html += "</table>";
}

void fieldsPart(std::string& html, const ReportFacts& facts, const Captions& c) {
    using C = ReportCaption;
    const ReportFields& f = facts.fields;
    html += kTable;
    html += row(c(C::Date), facts.date);
    html += row(c(C::Program), facts.programVersion);
    html += row(c(C::Vehicle), f.vehicle);
    html += row(c(C::Registration), f.registration);
    html += row(c(C::Odometer), f.odometer);
    html += row(c(C::Installer), f.installer);
    html += row(c(C::Workshop), f.workshop);
    html += "</table>";
}

// What the inspector reads first: the settings and map cells this set-up changed, each with its
// factory value; the locations no page shows only counted.
void differencesPart(std::string& html, const EcuImage& image, const SetupTexts& texts,
                     const SetupDescription& description, const Captions& c) {
    using C = ReportCaption;
    std::set<FieldId> shown;
    for (const SetupLine& l : description.settings)
        shown.insert(l.field);
    for (const SetupLine& l : description.maps)
        shown.insert(l.field);
    const ImageDiff diff = diffImages(image, factoryImageFor(image), texts);
    std::size_t internal = 0;
    std::string rows;
    for (const Difference& d : diff.entries) {
        if (!d.field || shown.count(*d.field) == 0) {
            ++internal;
            continue;
        }
        rows += "<tr><td>" + escaped(d.name) + "</td><td>" + escaped(d.first) + "</td><td>" +
                escaped(d.second) + "</td></tr>";
    }
    html += c.tagged(C::Differences);
    if (rows.empty()) {
        html += c.tagged(C::NoDifferences, "p");
    } else {
        html += std::string(kTable) + "<tr><th></th><th>" + escaped(c(C::ThisSetUp)) + "</th><th>" +
                escaped(c(C::Factory)) + "</th></tr>" + rows + "</table>";
    }
    if (internal > 0)
        html +=
            "<p>" + escaped(c(C::InternalDifferences)) + " " + std::to_string(internal) + "</p>";
}

void errorsPart(std::string& html, const ReportFacts& facts, const Captions& c) {
    html += c.tagged(ReportCaption::Errors);
    if (!facts.errorRows) {
        html += c.tagged(ReportCaption::NotRead, "p");
        return;
    }
    // A stored error's row begins with its code; the list's other row says there is none.
    const auto isError = [](const std::string& text) {
        return !text.empty() && std::isdigit(static_cast<unsigned char>(text.front())) != 0;
    };
    for (const std::string& text : *facts.errorRows)
        if (!text.empty() && !isError(text))
            html += "<p>" + escaped(text) + "</p>";
    if (std::none_of(facts.errorRows->begin(), facts.errorRows->end(), isError))
        return;
    html += kTable;
    int number = 0;
    for (const std::string& text : *facts.errorRows)
        if (isError(text))
            html +=
                "<tr><th>" + std::to_string(++number) + "</th><td>" + escaped(text) + "</td></tr>";
    html += "</table>";
}

// Page by page, group by group, as the description orders them.
void settingsPart(std::string& html, const SetupDescription& description, const Captions& c) {
    html += c.tagged(ReportCaption::Settings);
    const std::string* page = nullptr;
    const std::string* group = nullptr;
    bool open = false;
    for (const SetupLine& l : description.settings) {
        const bool newPage = page == nullptr || *page != l.page;
        const bool newGroup = newPage || *group != l.group;
        if (newGroup && open)
            html += "</table>";
        if (newPage)
            html += "<h3>" + escaped(l.page) + "</h3>";
        if (newGroup) {
            if (!l.group.empty())
                html += "<p><i>" + escaped(l.group) + "</i></p>";
            html += kSettingsTable;
            open = true;
        }
        page = &l.page;
        group = &l.group;
        html += kSettingCaption + escaped(l.caption) + "</th><td>" + escaped(withUnit(l)) +
                "</td></tr>";
    }
    if (open)
        html += "</table>";
}

// The main map as its grid paints it: the row axis down the left, the column axis on top, every
// cell in the grid's own colour.
void mainMapPart(std::string& html, const SetupDescription& description, const Captions& c) {
    html += "<h2 class=\"break\">" + escaped(c(ReportCaption::MainMap)) + "</h2>";
    const std::vector<const SetupLine*> cells = linesOf(description, FieldId::MainMap);
    const auto columns = static_cast<std::size_t>(kMainMapColumns);
    const auto rows = static_cast<std::size_t>(kMainMapRows);
    if (cells.size() != columns * rows)
        return;
    const MapOperatingPoint nowhere{-2, -2, -2, -2};
    html += std::string(kTable) + "<tr><th></th>";
    for (std::size_t col = 0; col < columns; ++col)
        html += "<th>" + escaped(splitName(cells[col]->caption).second) + "</th>";
    html += "</tr>";
    for (std::size_t r = 0; r < rows; ++r) {
        html += "<tr><th>" + escaped(splitName(cells[r * columns]->caption).first) + "</th>";
        for (std::size_t col = 0; col < columns; ++col) {
            const SetupLine& cell = *cells[r * columns + col];
            const MapCellLook look = mainMapCellLook(
                static_cast<int>(col) + 1, static_cast<int>(r) + 1, cell.value, false, nowhere);
            std::string style;
            if (look.fill)
                style = " bgcolor=\"" + cssColour(*look.fill) +
                        "\" style=\"background-color:" + cssColour(*look.fill) +
                        ";color:" + cssColour(look.textColour) + "\"";
            html += "<td class=\"cell\"" + style + ">" + escaped(look.text) + "</td>";
        }
        html += "</tr>";
    }
    html += "</table>";
}

// A map of one row: its axis on top, its values below.
void rowMapTable(std::string& html, const std::vector<std::string>& headings,
                 const std::vector<std::string>& values) {
    html += std::string(kTable) + "<tr>";
    for (const std::string& h : headings)
        html += "<th class=\"narrow\">" + escaped(h) + "</th>";
    html += "</tr><tr>";
    for (const std::string& v : values)
        html += "<td class=\"narrow\">" + escaped(v) + "</td>";
    html += "</tr></table>";
}

void correctionMapsPart(std::string& html, const SetupDescription& description,
                        const SetupTexts& texts, const Captions& c) {
    html += c.tagged(ReportCaption::CorrectionMaps);
    const std::vector<const SetupLine*> cells = linesOf(description, FieldId::CorrectionMaps);
    for (const CorrectionMapDef& map : correctionMaps()) {
        const auto caption = texts.captions.find(map.label);
        html += "<h3>" + escaped(caption != texts.captions.end() ? caption->second : map.caption) +
                "</h3>";
        std::vector<std::string> headings;
        std::vector<std::string> values;
        for (int col = 0; col < map.columns; ++col) {
            const std::size_t at = map.firstByte + static_cast<std::size_t>(col);
            if (at >= cells.size())
                break;
            headings.push_back(headingText(map.axis[col], map.axisFormat));
            values.push_back(cells[at]->value);
        }
        rowMapTable(html, headings, values);
    }
}

void cruiseMapPart(std::string& html, const SetupDescription& description, const Captions& c) {
    html += c.tagged(ReportCaption::CruiseMap);
    // The unit heads the axis once, so the narrow columns hold only the pressures.
    std::vector<std::string> headings{"bar"};
    std::vector<std::string> values{""};
    for (const SetupLine* cell : linesOf(description, FieldId::CruiseMap)) {
        headings.push_back(cell->caption.substr(0, cell->caption.find(" bar")));
        values.push_back(cell->value);
    }
    rowMapTable(html, headings, values);
}

// An emulator table: its channels down the left, its axis on top.
void emulatorTable(std::string& html, const std::vector<const SetupLine*>& cells) {
    const auto columns = static_cast<std::size_t>(kEmuColumns);
    if (cells.empty() || cells.size() % columns != 0)
        return;
    html += "<h3>" + escaped(cells.front()->group) + "</h3>" + kTable + "<tr><th></th>";
    for (std::size_t col = 0; col < columns; ++col)
        html += "<th class=\"narrow\">" + escaped(splitName(cells[col]->caption).second) + "</th>";
    html += "</tr>";
    for (std::size_t r = 0; r < cells.size() / columns; ++r) {
        html += "<tr><th class=\"narrow\">" +
                escaped(splitName(cells[r * columns]->caption).first) + "</th>";
        for (std::size_t col = 0; col < columns; ++col)
            html += "<td class=\"narrow\">" + escaped(cells[r * columns + col]->value) + "</td>";
        html += "</tr>";
    }
    html += "</table>";
}

}  // namespace

std::string reportCaption(const SetupTexts& texts, ReportCaption caption) {
    const auto at = static_cast<std::size_t>(caption);
    if (at >= std::size(kReportCaptions))
        return std::string();
    const auto loaded = texts.reportTexts.find(static_cast<int>(at));
    return loaded != texts.reportTexts.end() ? loaded->second
                                             : std::string(kReportCaptions[at].english);
}

EcuImage factoryImageFor(const EcuImage& image) {
    EcuImage factory = image;
    const WorkTimes kept{readField(image, FieldId::DieselWorkTime),
                         readField(image, FieldId::GasWorkTime)};
    applyControllerDefaults(factory, kept,
                            static_cast<std::uint16_t>(readField(image, FieldId::ControllerPin)));
    return factory;
}

std::string setupReportHtml(const EcuImage& image, const SetupTexts& texts,
                            const ReportFacts& facts) {
    // Nothing below may show the PIN: the report is handed to the customer.
    EcuImage shown = image;
    storeField(shown, FieldId::ControllerPin, 0);
    const unsigned software = facts.revisions ? facts.revisions->software : kDescribedRevision;
    const SetupDescription description = describeSetup(shown, texts, software);
    const Captions c(texts);

    std::string html = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">";
    html += c.tagged(ReportCaption::Title, "title") + "<style>@page{size:";
    html += facts.paper == Paper::Letter ? "letter" : "A4";
    html += ";margin:15mm}";
    html += kStyle;
    html += "</style></head><body>\n" + c.tagged(ReportCaption::Title, "h1");
    fieldsPart(html, facts, c);
    controllerPart(html, shown, facts, c);
    differencesPart(html, shown, texts, description, c);
    errorsPart(html, facts, c);
    html += "\n";
    settingsPart(html, description, c);
    html += "\n";
    mainMapPart(html, description, c);
    correctionMapsPart(html, description, texts, c);
    cruiseMapPart(html, description, c);
    html += c.tagged(ReportCaption::EmulatorTables);
    emulatorTable(html, linesOf(description, FieldId::TpsEmulatorTable));
    emulatorTable(html, linesOf(description, FieldId::StepEmulatorTable));
    html += "\n</body></html>\n";
    return html;
}

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

namespace {

std::string vehicleSection(std::uint32_t serial) {
    return kVehicleSectionPrefix + std::to_string(serial);
}

}  // namespace

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

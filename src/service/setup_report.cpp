#include "service/setup_report.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <string_view>

#include "model/controller_defaults.h"
#include "service/image_diff.h"
#include "service/setup_report_html.h"
#include "service/setup_report_maps.h"

namespace kaldor {
namespace {

using setup_report::Captions;
using setup_report::correctionMapsPart;
using setup_report::cruiseMapPart;
using setup_report::emulatorTablesPart;
using setup_report::escaped;
using setup_report::kTable;
using setup_report::mainMapPart;
using setup_report::row;

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

// The settings' tables, one a group, all with the same columns.
constexpr const char* kSettingsTable =
    "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">";
constexpr const char* kSettingCaption = "<tr><th width=\"45%\">";

std::string withUnit(const SetupLine& line) {
    return line.unit.empty() ? line.value : line.value + " " + line.unit;
}

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
    emulatorTablesPart(html, description, c);
    html += "\n</body></html>\n";
    return html;
}

}  // namespace kaldor

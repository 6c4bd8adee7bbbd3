#include "service/setup_report_maps.h"

#include <cstdio>
#include <utility>
#include <vector>

#include "emulation/emulator_maps.h"
#include "maps/correction_maps.h"
#include "maps/grid_headings.h"
#include "maps/main_map.h"

namespace kaldor::setup_report {
namespace {

std::string cssColour(Rgb c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c.red, c.green, c.blue);
    return text;
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

void emulatorTablesPart(std::string& html, const SetupDescription& description, const Captions& c) {
    html += c.tagged(ReportCaption::EmulatorTables);
    emulatorTable(html, linesOf(description, FieldId::TpsEmulatorTable));
    emulatorTable(html, linesOf(description, FieldId::StepEmulatorTable));
}

}  // namespace kaldor::setup_report

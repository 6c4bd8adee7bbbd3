#include "maps/map_cell_names.h"

#include <algorithm>

#include "maps/cruise_map.h"
#include "maps/field_text.h"
#include "maps/grid_headings.h"
#include "maps/main_map.h"
#include "maps/map_axes.h"
#include "maps/map_types.h"

namespace kaldor {
namespace {

using F = FieldId;

std::string mainMapCellName(const EcuImage& image, std::size_t element) {
    const auto columns = static_cast<std::size_t>(kMainMapColumns);
    const std::size_t row = element / columns;
    const std::size_t column = element % columns;
    const MapTypeDef* type = mapTypeDef(readField(image, F::MainMapType));
    // A type no list offers has no axes to read.
    if (type == nullptr)
        return "row " + std::to_string(row + 1) + " x column " + std::to_string(column + 1);
    const std::string rowText = fieldValueText(image, F::MainMapRowAxis, row);
    std::string columnText;
    if (type->columns != AxisKind::None &&
        static_cast<int>(column) + 1 <
            mainMapColCount(readField(image, F::MainMapType), readField(image, F::TpsSwitch) != 0))
        columnText = fieldValueText(image, F::MainMapColumnAxis, column);
    if (columnText.empty())
        columnText = "column " + std::to_string(column + 1);
    return rowText + " x " + columnText;
}

}  // namespace

std::string mapCellName(const EcuImage& image, FieldId id, std::size_t element,
                        unsigned softwareRevision, const CorrectionCaption& correctionCaption) {
    switch (id) {
        case F::MainMap:
            return mainMapCellName(image, element);
        case F::MainMapColumnAxis:
            return "column axis " + std::to_string(element + 1);
        case F::MainMapRowAxis:
            return "row axis " + std::to_string(element + 1);
        case F::TpsEmulatorAxis:
            return "axis " + std::to_string(element + 1);
        case F::CruiseMap: {
            const CruiseAxis& axis = cruiseAxis(softwareRevision);
            if (element >= axis.size())
                break;
            // Two columns under one heading are told apart by their place.
            const std::string name = headingText(axis[element], HeadingFormat::Shortest) + " bar";
            if (std::count(axis.begin(), axis.end(), axis[element]) > 1)
                return name + " (column " + std::to_string(element + 1) + ")";
            return name;
        }
        case F::CorrectionMaps:
            for (const CorrectionMapDef& map : correctionMaps()) {
                const auto columns = static_cast<std::size_t>(map.columns);
                if (element < map.firstByte || element >= map.firstByte + columns)
                    continue;
                const std::size_t column = element - map.firstByte;
                const std::string name =
                    correctionCaption(map) + " " + headingText(map.axis[column], map.axisFormat);
                // Two columns under one heading are told apart by their place.
                if (std::count(map.axis, map.axis + columns, map.axis[column]) > 1)
                    return name + " (column " + std::to_string(column + 1) + ")";
                return name;
            }
            break;
        default:
            break;
    }
    return fieldElementName(id, element);
}

std::string mapsGroupName(FieldId id) {
    switch (id) {
        case F::MainMap:
        case F::MainMapColumnAxis:
        case F::MainMapRowAxis:
            return "main map";
        case F::CruiseMap:
            return "cruise map";
        case F::CorrectionMaps:
            return "correction maps";
        case F::TpsEmulatorAxis:
        case F::TpsEmulatorTable:
            return "TPS map";
        case F::StepEmulatorTable:
            return "Step map";
        default:
            break;
    }
    return std::string(fieldDef(id).name);
}

}  // namespace kaldor

#include "maps/main_map.h"

#include "maps/map_types.h"
#include "model/fields.h"
#include "model/number_text.h"

namespace kaldor {
namespace {

constexpr int kBigStep = 5;

std::uint16_t columnAxis(const EcuImage& image, int i) {
    return static_cast<std::uint16_t>(
        readField(image, FieldId::MainMapColumnAxis, static_cast<std::size_t>(i)));
}

std::uint16_t rowAxis(const EcuImage& image, int i) {
    return static_cast<std::uint16_t>(
        readField(image, FieldId::MainMapRowAxis, static_cast<std::size_t>(i)));
}

}  // namespace

std::size_t mainMapByteOffset(int column, int row) {
    return sentByteOffset(fieldDef(FieldId::MainMap), mainMapElement(column, row));
}

int mainMapCell(const EcuImage& image, int column, int row) {
    if (!isMainMapCell(column, row))
        return 0;
    return static_cast<int>(readField(image, FieldId::MainMap, mainMapElement(column, row)));
}

MainMapAxes mainMapAxes(const EcuImage& image) {
    MainMapAxes axes;
    axes.type = mapTypeDef(readField(image, FieldId::MainMapType));
    for (int i = 0; i < kMainMapColumns; ++i)
        axes.columns[static_cast<std::size_t>(i)] = columnAxis(image, i);
    for (int i = 0; i < kMainMapRows; ++i)
        axes.rows[static_cast<std::size_t>(i)] = rowAxis(image, i);
    return axes;
}

int operatingColumnOf(const MainMapAxes& axes, std::int64_t v) {
    if (axes.type == nullptr)
        return 0;
    switch (axes.type->columns) {
        case AxisKind::EngineSpeed:
            // The axis holds pulse periods, which fall as the engine speeds up.
            for (int i = 0; i < kMainMapColumns; ++i)
                if (v >= axes.columns[static_cast<std::size_t>(i)])
                    return i;
            return kMainMapColumns - 1;
        case AxisKind::Throttle:
        case AxisKind::AirFlow:
            for (int i = kMainMapColumns - 1; i >= 1; --i)
                if (v >= axes.columns[static_cast<std::size_t>(i)])
                    return i;
            return 0;
        default:
            return 0;
    }
}

int operatingRowOf(const MainMapAxes& axes, std::int64_t v) {
    // The row after the last one whose axis value was reached; the last axis value is never
    // compared.
    for (int k = kMainMapRows - 1; k >= 1; --k)
        if (v >= axes.rows[static_cast<std::size_t>(k - 1)])
            return k;
    return 0;
}

int operatingColumn(const LiveFrame& frame, const EcuImage& image) {
    const MainMapAxes axes = mainMapAxes(image);
    if (axes.type == nullptr || axes.type->columns == AxisKind::None)
        return 0;
    return operatingColumnOf(axes, liveRaw(frame, axes.type->columnSignal));
}

int operatingRow(const LiveFrame& frame, const EcuImage& image) {
    const MainMapAxes axes = mainMapAxes(image);
    const LiveSignal signal = axes.type != nullptr ? axes.type->rowSignal : kMapTypes[0].rowSignal;
    return operatingRowOf(axes, liveRaw(frame, signal));
}

bool UpdateOperatingPoint(MapOperatingPoint& point, const LiveFrame& frame, const EcuImage& image,
                          bool running) {
    if (!running)
        return false;
    point.x = operatingColumn(frame, image);
    point.y = operatingRow(frame, image);
    const bool moved = point.x != point.lastX || point.y != point.lastY;
    point.lastX = point.x;
    point.lastY = point.y;
    return moved;
}

MapCellLook mainMapCellLook(int column, int row, const std::string& text, bool selected,
                            const MapOperatingPoint& point) {
    MapCellLook look;
    look.text = text.empty() ? "0" : text;
    if (isMainMapCell(column, row)) {
        if (!selected)
            look.fill = MapCellColour(parseInteger(look.text).value_or(0));
        look.drawText = true;
    }
    if (point.isHighlighted(column, row)) {
        look.fill = kOperatingPointColour;
        look.drawText = true;
    }
    return look;
}

std::optional<int> mainMapKeyStep(int key, bool shift) {
    const int size = shift ? kBigStep : 1;
    if (key == kKeyPlus || key == kKeyPlusMain)
        return size;
    if (key == kKeyMinus || key == kKeyMinusMain)
        return -size;
    return std::nullopt;
}

}  // namespace kaldor

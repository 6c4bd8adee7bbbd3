#include "maps/double_injection.h"

#include <string>

#include "maps/cruise_map.h"
#include "maps/main_map.h"
#include "model/fields.h"

namespace kaldor {
namespace {

enum class Scaling { None, Halve, Double };

int scaled(int byte, Scaling scaling) {
    switch (scaling) {
        case Scaling::Halve:
            return byte / 2;
        case Scaling::Double:
            return (byte > kDoublingCap ? kDoublingCap : byte) * 2;
        case Scaling::None:
            break;
    }
    return byte;
}

void scaleField(EcuImage& image, FieldId field, Scaling scaling,
                std::vector<std::size_t>& changed) {
    const std::size_t count = fieldDef(field).count;
    for (std::size_t i = 0; i < count; ++i) {
        const int before = static_cast<int>(readField(image, field, i));
        const int after = scaled(before, scaling);
        if (after == before)
            continue;
        storeField(image, field, static_cast<std::uint32_t>(after), i);
        changed.push_back(i);
    }
}

}  // namespace

DoubleInjectionOutcome doubleInjectionTimeChosen(EcuImage& image, FieldSender& sender, int item,
                                                 GridTexts& cruiseGrid, GridTexts& mainGrid) {
    DoubleInjectionOutcome outcome;
    if (item < 0)
        return outcome;
    outcome.done = true;
    const bool doubled = readField(image, FieldId::DoubleInjectionTime) == 1;
    const bool wantDoubled = (item & 1) != 0;
    // Only a real change of the setting rescales the maps; the halving happens before the flag
    // is stored, the doubling after, as the controller's own tool did.
    const Scaling scaling = wantDoubled && !doubled   ? Scaling::Halve
                            : !wantDoubled && doubled ? Scaling::Double
                                                      : Scaling::None;
    if (scaling == Scaling::Halve) {
        scaleField(image, FieldId::CruiseMap, scaling, outcome.cruiseChanged);
        scaleField(image, FieldId::MainMap, scaling, outcome.mainChanged);
    }
    storeField(image, FieldId::DoubleInjectionTime, wantDoubled ? 1u : 0u);
    sender.sendField(FieldId::DoubleInjectionTime);
    if (scaling == Scaling::Double) {
        scaleField(image, FieldId::CruiseMap, scaling, outcome.cruiseChanged);
        scaleField(image, FieldId::MainMap, scaling, outcome.mainChanged);
    }

    // The grids follow the image either way: a step key works from a cell's text, and would
    // otherwise undo the scaling of that cell.
    const bool send = sender.connected();
    outcome.mapsSent = send;
    for (int k = 0; k < kCruiseMapColumns; ++k) {
        const auto element = static_cast<std::size_t>(k);
        cruiseGrid.setText(k, 1, std::to_string(readField(image, FieldId::CruiseMap, element)));
        if (send)
            sender.sendField(FieldId::CruiseMap, element);
    }
    for (int column = 1; column <= kMainMapColumns; ++column) {
        for (int row = 1; row <= kMainMapRows; ++row) {
            mainGrid.setText(column, row, std::to_string(mainMapCell(image, column, row)));
            if (send)
                sender.sendField(FieldId::MainMap, mainMapElement(column, row));
        }
    }
    return outcome;
}

}  // namespace kaldor

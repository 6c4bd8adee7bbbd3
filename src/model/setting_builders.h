#pragma once
// The builders the settings table's rows are written with (model/settings_table.cpp): a row of
// each editor with its caption, and the modifiers that bind it, say how it is read or which
// language ids its entries have. For that file only.
#include <array>
#include <cstdint>
#include <string_view>

#include "model/settings_table.h"

namespace kaldor::setting_builders {

using F = FieldId;
using S = RefreshStep;
using C = CaptionFrom;

inline constexpr SettingRow captioned(std::string_view control, F field, std::string_view page,
                                      std::string_view group, std::string_view label,
                                      std::string_view caption, std::uint32_t captionId) {
    SettingRow row = settingRow(control, field, page, group);
    row.label = label;
    row.caption = caption;
    row.captionId = captionId;
    return row;
}

template <std::size_t N>
constexpr SettingRow list(std::string_view control, F field, std::string_view page,
                          std::string_view group, std::string_view label, std::string_view caption,
                          const std::array<std::string_view, N>& items,
                          std::uint32_t captionId = 0) {
    SettingRow row = captioned(control, field, page, group, label, caption, captionId);
    row.items = items.data();
    row.itemCount = N;
    return row;
}
inline constexpr SettingRow listFrom(std::string_view control, F field, std::string_view page,
                                     std::string_view group, std::string_view label,
                                     std::string_view caption, ListSource source,
                                     std::uint32_t captionId = 0) {
    SettingRow row = captioned(control, field, page, group, label, caption, captionId);
    row.source = source;
    return row;
}
inline constexpr SettingRow spin(std::string_view control, F field, std::string_view page,
                                 std::string_view group, std::string_view label,
                                 std::string_view caption, SpinDesign design,
                                 std::uint32_t captionId = 0) {
    SettingRow row = captioned(control, field, page, group, label, caption, captionId);
    row.editor = SettingEditor::Spin;
    row.spin = design;
    return row;
}
inline constexpr SettingRow tick(std::string_view control, F field, std::string_view page,
                                 std::string_view group, std::string_view caption,
                                 std::uint32_t captionId = 0) {
    SettingRow row = captioned(control, field, page, group, control, caption, captionId);
    row.captionFrom = C::Own;
    row.editor = SettingEditor::Tick;
    return row;
}

// Modifiers, applied to a row above.
inline constexpr SettingRow bound(SettingRow row, S step,
                                  SettingBinding binding = SettingBinding::Plain) {
    row.binding = binding;
    row.refreshStep = step;
    return row;
}
inline constexpr SettingRow handled(SettingRow row, S step) {
    return bound(row, step, SettingBinding::Handled);
}
inline constexpr SettingRow changeOnly(SettingRow row) {
    row.editOnFocusLoss = false;
    return row;
}
inline constexpr SettingRow spoken(SettingRow row, SpokenText name, int number = 0) {
    row.captionFrom = C::Spoken;
    row.spoken = name;
    row.place = number;
    return row;
}
inline constexpr SettingRow groupUnit(SettingRow row) {
    row.captionFrom = C::GroupUnit;
    return row;
}
inline constexpr SettingRow itemIds(SettingRow row, std::uint32_t first, int count,
                                    ItemReselect reselect = ItemReselect::None) {
    row.firstItemId = first;
    row.itemIds = count;
    row.reselect = reselect;
    return row;
}
inline constexpr SettingRow shows(SettingRow row, ShownItem item) {
    row.shownItem = item;
    return row;
}
inline constexpr SettingRow hidden(SettingRow row) {
    row.described = false;
    return row;
}

}  // namespace kaldor::setting_builders

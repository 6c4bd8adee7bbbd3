#pragma once
// The settings table: how every setting a page shows is presented, one row per control, as the
// field table says where its value lives. A row gives the control's name and field, its page and
// group, its caption (the label or check box that carries it, the built-in text and the language
// file's id), its editor (a spin editor's range, step, number pattern and first value; a list's
// items and their language ids; a tick), its refresh step and whether its edit is plain (it only
// stores and sends the field). The pages build their controls from it, the bindings connect and
// refresh them by it, the set-up description places and reads them by it, the language files'
// caption and item rows and the accessible names are taken from it. A new plain setting is one
// row here. The units come from the field's codec, not from this table.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/fields.h"
#include "model/refresh_step.h"
#include "model/spoken_text.h"

namespace kaldor {

enum class SettingEditor : std::uint8_t { Spin, List, Tick };

// How a setting's caption is found on its page.
enum class CaptionFrom : std::uint8_t {
    Label,      // the label beside it
    Own,        // its own caption (a check box)
    GroupUnit,  // its group's caption and the unit label after it: "TPS CUTOFF, [V]"
    Spoken,     // no caption on its page: the name it is read by (a spoken text)
    LabelPlace  // in a row headed by a label: the label's caption and its place in the row
};

// Where a list's entries come from: the row's own items, or a table of a folder above this one
// (read through service/setting_items).
enum class ListSource : std::uint8_t {
    Items,
    OnTemperatures,  // kOnTemperatureFirst .. kOnTemperatureLast
    EgtMaxima,       // egtMaxItem
    EmulatorModes,   // kEmulatorModes
    MapTypes,        // kMapTypes
    EmuInputs,       // kEmuInputs
};

// Which item a list shows: the field's own value, or one the page works out from several fields.
enum class ShownItem : std::uint8_t {
    Field,
    EmulatorMode,  // emulatorModeItem
    RelayMode,     // the relay list of the signal emulator (emulatorModeShown)
};

// How the table connects a control: not at all (its page refreshes and handles it), or refreshed
// by the table at its step with the edit either plain or the page's own handler.
enum class SettingBinding : std::uint8_t { None, Plain, Handled };

// What a language file's last item text of a list is followed by: replacing entries can drop the
// list's selection, so some lists select again.
enum class ItemReselect : std::uint8_t {
    None,
    FromField,  // the row's field
    EntryZero,
};

struct SpinDesign {
    double minimum = 0;
    double maximum = 0;
    double step = 1;
    std::string_view pattern;
    double initial = 0;
};

struct SettingRow {
    std::string_view control;  // objectName
    FieldId field = FieldId::Count;
    std::string_view page;   // objectName of the page
    std::string_view group;  // objectName of the group; empty for none
    CaptionFrom captionFrom = CaptionFrom::Label;
    std::string_view label;       // objectName of the label (or check box) with the caption
    std::string_view caption;     // the built-in caption (UTF-8)
    std::uint32_t captionId = 0;  // the caption's language id; 0: none
    SpokenText spoken = SpokenText::Count;  // CaptionFrom::Spoken
    int place = 0;  // LabelPlace: the place in the row; Spoken: the number for "%1" (0: none)
    SettingEditor editor = SettingEditor::List;
    SpinDesign spin{};
    ListSource source = ListSource::Items;
    const std::string_view* items = nullptr;  // ListSource::Items
    std::size_t itemCount = 0;
    std::uint32_t firstItemId = 0;  // the language ids of the first itemIds entries
    int itemIds = 0;
    ItemReselect reselect = ItemReselect::None;
    ShownItem shownItem = ShownItem::Field;
    int bit = -1;  // a control that shows one bit of its field
    SettingBinding binding = SettingBinding::None;
    RefreshStep refreshStep = RefreshStep::None;
    bool editOnFocusLoss = true;  // false: the plain edit runs on the user's change only
    bool described = true;        // false: kept hidden; the description lists it as internal
};

// A row with its place and the defaults above; the table's builders fill in the rest.
[[nodiscard]] constexpr SettingRow settingRow(std::string_view control, FieldId field,
                                              std::string_view page, std::string_view group) {
    SettingRow row{};
    row.control = control;
    row.field = field;
    row.page = page;
    row.group = group;
    return row;
}

struct SettingsTable {
    const SettingRow* rows;
    std::size_t count;
    [[nodiscard]] const SettingRow* begin() const { return rows; }
    [[nodiscard]] const SettingRow* end() const { return rows + count; }
};

// Every setting, in the order of the pages and of the groups on them; the hidden ones last.
[[nodiscard]] SettingsTable settingsTable();
// The row of the control with that objectName, or nullptr.
[[nodiscard]] const SettingRow* findSetting(std::string_view control);

// A page or a group: its objectName, the caption it is built with, and the name the description
// gives it where the page's tab has no caption (a page reached by its keys only).
struct SettingContainer {
    std::string_view name;
    std::string_view caption;
    std::string_view unnamed;
};
[[nodiscard]] const SettingContainer* findSettingPage(std::string_view name);
[[nodiscard]] const SettingContainer* findSettingGroup(std::string_view name);

}  // namespace kaldor

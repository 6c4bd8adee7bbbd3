#pragma once
// The settings table as the pages show it: the core's rows with the families a folder above the
// model keeps in its own tables (the correction maps' on/off lists, the enabled errors' ticks)
// placed among them, each list's entries, and a setting's caption composed as its page shows it.
// The pages, the set-up description and the accessible names all read a setting through here.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/settings_table.h"

namespace kaldor {

// Every setting a page shows (and the hidden ones last), in the order of the pages and groups.
[[nodiscard]] const std::vector<SettingRow>& pageSettings();
// The row of the control with that objectName among them, or nullptr.
[[nodiscard]] const SettingRow* findPageSetting(std::string_view control);

// A list's built-in entries, in order; empty for a spin editor or a tick.
[[nodiscard]] std::vector<std::string> settingItems(const SettingRow& row);

// Where the caption's parts are read: a text by the objectName that shows it (the built-in text
// where nothing replaced it), and a spoken text.
struct CaptionTexts {
    std::function<std::string(std::string_view name, std::string_view builtIn)> shown;
    std::function<std::string(SpokenText)> spoken;
};
// The caption a setting is read by: its label's text without the closing colon, "group, unit",
// "label 2" for a place in a labelled row, or its spoken name with its number.
[[nodiscard]] std::string settingCaption(const SettingRow& row, const CaptionTexts& texts);
// The group's built-in caption; empty for none.
[[nodiscard]] std::string_view groupBuiltInCaption(std::string_view group);

// A label's closing colon leads to its control; in a listing the listing's own colon follows.
[[nodiscard]] std::string withoutColon(std::string text);

}  // namespace kaldor

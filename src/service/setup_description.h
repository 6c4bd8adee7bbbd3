#pragma once
// A set-up in words: every setting the pages show, under the caption its page gives it in the
// chosen language, with its value as the page shows it (a list's item by its text, a number in
// its editor's pattern with the field's unit), in the pages' and groups' order; the map cells
// named by their axis values; what no page shows (markers, reserved bytes, the controller's own
// locations) apart as internal. `kaldor-cli show`, the lists of differences and the report are
// written from it, so a setting reads the same everywhere as on its page.
#include <cstddef>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "files/language_file.h"
#include "model/ecu_image.h"
#include "model/fields.h"

namespace kaldor {

// The chosen language's texts by their targets; empty for the built-in texts.
struct SetupTexts {
    std::map<std::string, std::string, std::less<>> captions;  // by objectName (menu items too)
    std::map<std::pair<std::string, int>, std::string> items;  // by list objectName and entry
    std::map<int, std::string> errorTexts;                     // by error code
    std::map<int, std::string> statusTexts;                    // by status text number
    std::map<int, std::string> reportTexts;                    // by ReportCaption
    std::map<int, std::string> windowTexts;                    // by WindowText
    std::map<int, std::string> spokenTexts;                    // by SpokenText
};
[[nodiscard]] SetupTexts setupTexts(const LanguageFile& language);

// The window text in the chosen language, or its built-in English where the language lacks it.
[[nodiscard]] std::string windowText(const SetupTexts& texts, WindowText text);
// A text the core composed in English, translated when it is one of the window texts.
[[nodiscard]] std::string translatedEnglish(const SetupTexts& texts, const std::string& english);

struct SetupLine {
    std::string page;     // the page's caption
    std::string group;    // the group's caption; empty where the control sits in no group
    std::string caption;  // the setting's caption; for a map cell its axis values
    std::string value;    // as the page shows it
    std::string unit;     // apart from the value; empty for list items and switches
    FieldId field = FieldId::Count;
    std::size_t element = 0;
    std::string control;  // objectName of the control that shows it; empty for a map cell
};

struct SetupDescription {
    std::vector<SetupLine> settings;  // page by page, group by group
    std::vector<SetupLine> maps;      // map cells and axes, map by map
    std::vector<SetupLine> internal;  // shown by no page: caption is the field's name
};

// The controller's software revision decides the cruise map's axis; a file does not hold it.
inline constexpr unsigned kDescribedRevision = 4;

[[nodiscard]] SetupDescription describeSetup(const EcuImage& image, const SetupTexts& texts = {},
                                             unsigned softwareRevision = kDescribedRevision);

// One element of a field as the description names it: "parameters / minimum pressure [bar]",
// "main map 0.9 bar x 1500 rpm", or the field's name for what no page shows.
[[nodiscard]] std::string setupElementName(const EcuImage& image, FieldId id, std::size_t element,
                                           const SetupTexts& texts = {},
                                           unsigned softwareRevision = kDescribedRevision);
// Its value with its unit, as the description gives it.
[[nodiscard]] std::string setupElementValue(const EcuImage& image, FieldId id, std::size_t element,
                                            const SetupTexts& texts = {});

// The page's caption without its key ("[F3]parameters" -> "parameters").
[[nodiscard]] std::string withoutKeyHint(const std::string& caption);

}  // namespace kaldor

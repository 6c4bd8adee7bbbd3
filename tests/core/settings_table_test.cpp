// The settings table against itself and the tables it feeds: each row's editor can show its
// first value, each caption and item id reaches the language file's target, and a caption is
// composed as its page shows it.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "files/text_ids.h"
#include "service/setting_rows.h"

using namespace kaldor;

namespace {

TEST(SettingsTable, EveryRowIsWholeAndItsIdsReachItsControls) {
    std::set<std::string_view> controls;
    for (const SettingRow& row : pageSettings()) {
        SCOPED_TRACE(std::string(row.control));
        EXPECT_TRUE(controls.insert(row.control).second) << "twice";
        EXPECT_NE(row.field, FieldId::Count);
        EXPECT_NE(findSettingPage(row.page), nullptr);
        EXPECT_TRUE(row.group.empty() || findSettingGroup(row.group) != nullptr);
        EXPECT_EQ(row.captionFrom == CaptionFrom::Spoken, row.spoken != SpokenText::Count);
        if (row.editor == SettingEditor::Spin) {
            EXPECT_LT(row.spin.minimum, row.spin.maximum);
            EXPECT_GT(row.spin.step, 0);
            EXPECT_GE(row.spin.initial, row.spin.minimum);
            EXPECT_LE(row.spin.initial, row.spin.maximum);
            EXPECT_FALSE(row.spin.pattern.empty());
        }
        const std::size_t items = settingItems(row).size();
        EXPECT_EQ(items > 0, row.editor == SettingEditor::List);
        EXPECT_LE(static_cast<std::size_t>(row.itemIds), items);
        if (row.captionId != 0) {
            const TextTarget* target = findTextId(row.captionId);
            ASSERT_NE(target, nullptr);
            EXPECT_EQ(target->kind, TextKind::Caption);
            EXPECT_EQ(target->control, row.label);
        }
        for (int i = 0; i < row.itemIds; ++i) {
            const TextTarget* target = findTextId(row.firstItemId + TextId(i));
            ASSERT_NE(target, nullptr);
            EXPECT_EQ(target->kind, TextKind::ListItem);
            EXPECT_EQ(target->control, row.control);
            EXPECT_EQ(target->index, i);
        }
    }
}

TEST(SettingsTable, CaptionsAreComposedAsTheirPagesShowThem) {
    CaptionTexts builtIn;
    builtIn.shown = [](std::string_view, std::string_view text) { return std::string(text); };
    builtIn.spoken = [](SpokenText text) { return std::string(spokenTextEnglish(text)); };
    const struct {
        const char* control;
        const char* caption;
    } cases[] = {
        {"AbNumSpinMinPsys", "minimum pressure [bar]"},  // a label
        {"ComboBoxTpsCutOff", "cut-off"},                // the label's colon left out
        {"AbNumSpinCutOffTime", "TPS CUTOFF, [ms]"},     // its group and its unit
        {"AbNumSpinCdi2", "CDi threshold 2"},            // a spoken name with its number
        {"CheckBoxWskaznikZasilany", "Valve powered"},   // its own caption
    };
    for (const auto& c : cases) {
        const SettingRow* row = findPageSetting(c.control);
        ASSERT_NE(row, nullptr) << c.control;
        EXPECT_EQ(settingCaption(*row, builtIn), c.caption) << c.control;
    }
    // A correction map's list, by the place it has in its map's row.
    const auto enable = std::find_if(pageSettings().begin(), pageSettings().end(),
                                     [](const SettingRow& r) { return r.place == 2; });
    ASSERT_NE(enable, pageSettings().end());
    EXPECT_EQ(settingCaption(*enable, builtIn), std::string(enable->caption) + " 2");
}

}  // namespace

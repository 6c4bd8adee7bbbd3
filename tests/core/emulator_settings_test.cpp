#include <gtest/gtest.h>

#include "emulation/emulator_settings.h"
#include "model/codec.h"
#include "model/parameter_edits.h"
#include "model/settings_table.h"
#include "support/fake_port.h"
#include "support/recording_sender.h"

using namespace kaldor;
using namespace kaldor::test;

namespace {

const SettingRow& binding(std::string_view control) {
    const SettingRow* row = findSetting(control);
    if (row == nullptr)
        ADD_FAILURE() << "no binding " << control;
    return row != nullptr ? *row : *settingsTable().begin();
}

// Each plain control stores what its list or range means and sends its word or byte.
TEST(EmulatorBindings, PlainEditsStoreAndSendTheirField) {
    struct Case {
        const char* control;
        double shown;
        std::uint32_t raw;
        const char* sent;
    };
    const Case cases[] = {
        {"ComboBoxMappingTempOK", 0, 10, "word 207"},  // item "0"
        {"ComboBoxMappingTempOK", 6, 70, "word 207"},  // item "60"
        {"ComboBoxMappingRozdz", 24, 250, "word 205"},
        {"ComboBoxMappingTpsDelta", 19, 200, "word 206"},
        {"ComboBoxTpsType", 12, 12, "byte 482"},
        {"ComboBoxMappingIteracja", 9, 9, "byte 483"},
        {"AbNumSpinMaxTps", 4.0, 1043, "word 240"},
        {"AbNumSpinMinTps", 0.5, 130, "word 239"},
        {"ComboBoxDnaSigRis1", 1, 1, "word 275"},
        {"ComboBoxDnaSigRis2", 1, 1, "word 275"},
        {"AbNumSpinMaxDTps", 50, 11363, "word 193"},
        {"AbNumSpinMinDTps", 0.5, 113, "word 194"},
        {"ComboBoxTpsEmul", 1, 1, "word 273"},
        {"ComboBoxEmulatorStep", 1, 1, "word 273"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.control);
        const SettingRow& b = binding(c.control);
        EXPECT_EQ(b.binding, SettingBinding::Plain);
        EcuImage image;
        RecordingSender sender;
        ParameterEditor editor{image, sender};
        ASSERT_TRUE(editor.edit(b.field, c.shown));
        EXPECT_EQ(readField(image, b.field), c.raw);
        EXPECT_EQ(sender.sent, std::vector<std::string>{c.sent});
        // The refresh shows the list item again.
        const Encoding e = fieldDef(b.field).encoding;
        if (e != Encoding::TpsVolts && e != Encoding::InjectionTime) {
            EXPECT_EQ(shownValue(image, b.field), c.shown);
        }
    }
    EXPECT_EQ(binding("AbNumSpinMaxDTps").refreshStep, RefreshStep::DtpsLimits);
    EXPECT_EQ(binding("ComboBoxActivInput").refreshStep, RefreshStep::EmulatorInput);
    EXPECT_EQ(binding("ComboBoxDNAEmuSelect").binding, SettingBinding::Handled);
}

TEST(EmulatorMode, SwitchAndRelayKeepEachOtherAndTheMapsGroupInStep) {
    struct Case {
        const char* name;
        bool relayList;  // ComboBoxeEmulatorRelayOn, else ComboBoxDNAEmuSelect
        int before[2];   // DnaEmulatorOn, EmulatorRelayDigital
        int item;
        int after[2];
        int switchItem;
        int relayItem;
        bool mapsShown;
    };
    const Case cases[] = {
        {"on Digital", true, {1, 0}, 2, {0, 1}, 0, 2, true},
        {"on Analog", true, {0, 1}, 1, {1, 0}, 1, 1, true},
        {"relay off", true, {1, 0}, 0, {0, 0}, 0, 0, false},
        {"switch OFF", false, {0, 1}, 0, {0, 0}, 0, 0, false},
        {"switch ON", false, {0, 1}, 1, {1, 0}, 1, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EcuImage image;
        storeField(image, FieldId::DnaEmulatorOn, c.before[0]);
        storeField(image, FieldId::EmulatorRelayDigital, c.before[1]);
        storeField(image, FieldId::CdiEmulatorOn, 1);  // a neighbour in byte 549 stays
        RecordingSender sender;
        const auto shown = c.relayList ? relayModeChosen(image, sender, c.item)
                                       : emulatorSwitchChosen(image, sender, c.item);
        ASSERT_TRUE(shown.has_value());
        EXPECT_EQ(readField(image, FieldId::DnaEmulatorOn), unsigned(c.after[0]));
        EXPECT_EQ(readField(image, FieldId::EmulatorRelayDigital), unsigned(c.after[1]));
        EXPECT_EQ(readField(image, FieldId::CdiEmulatorOn), 1u);
        EXPECT_EQ(sender.sent, std::vector<std::string>{"word 274"});
        EXPECT_EQ(shown->switchItem, c.switchItem);
        EXPECT_EQ(shown->relayItem, c.relayItem);
        EXPECT_EQ(shown->mapsShown, c.mapsShown);
        // The refresh shows the same.
        EXPECT_EQ(emulatorModeShown(image).mapsShown, c.mapsShown);
        EXPECT_EQ(emulatorModeShown(image).switchItem, c.switchItem);
    }
    EcuImage image;
    RecordingSender sender;
    EXPECT_FALSE(relayModeChosen(image, sender, -1));
    EXPECT_FALSE(emulatorSwitchChosen(image, sender, 2));
    EXPECT_TRUE(sender.sent.empty());
    // Both bits clear: the refresh leaves the relay list as it is.
    EXPECT_FALSE(emulatorModeShown(image).relayItem.has_value());
}

TEST(EmulatorSettings, EraseButtonsSendTheirCommands) {
    ScriptedLink s;
    ASSERT_TRUE(s.link.open(1));
    eraseDiesel(s.commands);
    eraseDieselGas(s.commands);
    EXPECT_EQ(s.log.writes(), (std::vector<std::string>{"5B 00 00 00 05 F2", "5C 00 00 00 06 F2"}));
}

}  // namespace

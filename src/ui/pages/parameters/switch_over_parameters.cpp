#include "ui/pages/parameters/switch_over_parameters.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>

#include "maps/cruise_map.h"
#include "maps/double_injection.h"
#include "maps/main_map.h"
#include "model/list_items.h"
#include "model/switch_over_edits.h"
#include "ui/session.h"
#include "ui/setting_controls.h"
#include "ui/ui_build.h"

namespace kaldor {

namespace {

// A list shows no item for an index it does not hold.
void showItem(QComboBox* box, int index) {
    box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

}  // namespace

SwitchOverParameters::SwitchOverParameters(QWidget* engineGroup) : QObject(engineGroup) {
    ComboBoxDciEn = settingList(engineGroup, "ComboBoxDciEn");
    ComboBoxEnginePower = named<QComboBox>(engineGroup, "ComboBoxEnginePower");
    for (const PowerClassPreset& power : kPowerClasses)
        ComboBoxEnginePower->addItem(QString::fromLatin1(power.item));
}

void SwitchOverParameters::buildDoubleInjection(QGroupBox* group) {
    LabelDoubleTime = settingLabel(group, "ComboBoxDoubleTime");
    ComboBoxDoubleTime = settingList(group, "ComboBoxDoubleTime");
    auto* row = new QHBoxLayout(group);
    row->addWidget(LabelDoubleTime);
    row->addWidget(ComboBoxDoubleTime, 1);
}

void SwitchOverParameters::attach(ControllerSession& session) {
    m_session = &session;
    EditGate& gate = session.gate;
    gate.onEdit(ComboBoxDciEn, [this](int item) {
        SwitchOverEditor editor(m_session->image, m_session->transfer);
        if (editor.emulatorModeChosen(item))
            emit fieldsStored(RefreshStep::CdiEmulator);
    });
    gate.onChange(ComboBoxEnginePower, [this](int item) {
        SwitchOverEditor editor(m_session->image, m_session->transfer);
        if (editor.enginePowerChosen(item))
            emit fieldsStored(RefreshStep::DynamicK);
    });
    gate.onChange(ComboBoxDoubleTime, [this](int item) { doubleInjectionChosen(item); });
}

void SwitchOverParameters::setMapTexts(GridTexts* cruise, GridTexts* main) {
    m_cruiseTexts = cruise;
    m_mainTexts = main;
}

void SwitchOverParameters::doubleInjectionChosen(int item) {
    // Without the grids (never so in the window) the maps still change in the image.
    GridTexts cruiseScratch(kCruiseMapColumns, 2);
    GridTexts mainScratch(kMainMapGridColumns, kMainMapGridRows);
    (void)doubleInjectionTimeChosen(m_session->image, m_session->transfer, item,
                                    m_cruiseTexts != nullptr ? *m_cruiseTexts : cruiseScratch,
                                    m_mainTexts != nullptr ? *m_mainTexts : mainScratch);
}

void SwitchOverParameters::refreshEnginePower() {
    showItem(ComboBoxEnginePower, enginePowerItem(m_session->image));
}

void SwitchOverParameters::refreshEmulatorMode() {
    // Levels no mode sets: the list stays empty and says what the emulator's switch holds.
    ComboBoxDciEn->setPlaceholderText(
        QStringLiteral("raw %1").arg(readField(m_session->image, FieldId::CdiEmulatorOn)));
    showItem(ComboBoxDciEn, emulatorModeItem(m_session->image));
}

}  // namespace kaldor

#include "ui/pages/emu/emu_maps_panel.h"
#include "ui/setting_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "emulation/emulator_extremes.h"
#include "emulation/emulator_maps.h"
#include "ui/map_grid/grid_headers.h"
#include "ui/map_grid/map_grid.h"
#include "ui/pages/emu/emulator_controls.h"
#include "ui/session.h"

namespace kaldor {

namespace {

struct ValueButton {
    QPushButton* EmuMapsPanel::*member;
    const char* name;
    const char* caption;
    int step;
};
constexpr std::array<ValueButton, 4> kTpsButtons{{
    {&EmuMapsPanel::ButtonInc5DnaV, "ButtonInc5DnaV", "+5", 5},
    {&EmuMapsPanel::ButtonDec5DnaV, "ButtonDec5DnaV", "-5", -5},
    {&EmuMapsPanel::ButtonInc1DnaV, "ButtonInc1DnaV", "+1", 1},
    {&EmuMapsPanel::ButtonDec1DnaV, "ButtonDec1DnaV", "-1", -1},
}};
constexpr std::array<ValueButton, 4> kStepButtons{{
    {&EmuMapsPanel::ButtonInc5DnaStep, "ButtonInc5DnaStep", "+5", 5},
    {&EmuMapsPanel::ButtonDec5DnaStep, "ButtonDec5DnaStep", "-5", -5},
    {&EmuMapsPanel::ButtonInc1DnaStep, "ButtonInc1DnaStep", "+1", 1},
    {&EmuMapsPanel::ButtonDec1DnaStep, "ButtonDec1DnaStep", "-1", -1},
}};

constexpr int kColumnWidth = 44;
constexpr int kValueButtonWidth = 32;
constexpr const char* kRangeFormat = "#0.0";

// The list texts of a table whose rows carry an `item` text (presets, inputs).
template <typename Row, std::size_t N>
std::array<std::string_view, N> itemsOf(const std::array<Row, N>& rows) {
    std::array<std::string_view, N> items{};
    for (std::size_t i = 0; i < N; ++i)
        items[i] = rows[i].item;
    return items;
}

void setIndex(QComboBox* box, const std::optional<int>& item) {
    if (item)
        box->setCurrentIndex(*item);
}

}  // namespace

EmuMapsPanel::EmuMapsPanel(QGroupBox* group, QWidget* page) : QObject(group), m_page(page) {
    ComboBoxDnaType = emuList(group, "ComboBoxDnaType", itemsOf(kDnaPresets));
    // Shown when both maps are in use and no preset describes them.
    ComboBoxDnaType->setPlaceholderText(emuText(kCustomPresetText));
    // "+/-" beside the presets: no action.
    ButtonPlusMinusMode = emuButton(group, "ButtonPlusMinusMode", "+/-");
    ButtonPlusMinusDynamic = emuButton(group, "ButtonPlusMinusDynamic", "+/-");
    ComboBoxTpsEmul = settingList(group, "ComboBoxTpsEmul");
    ComboBoxEmulatorStep = settingList(group, "ComboBoxEmulatorStep");
    ComboBoxActivInput = settingList(group, "ComboBoxActivInput");
    CheckBoxModCharDNA =
        named<QCheckBox>(group, "CheckBoxModCharDNA", QStringLiteral("Mod.Char. Poin."));
    AbNumSpinDnaMin1 = emuSpin(group, "AbNumSpinDnaMin1", kRangeFormat);
    AbNumSpinDnaMax1 = emuSpin(group, "AbNumSpinDnaMax1", kRangeFormat);
    ButtonDnaSet = emuButton(group, "ButtonDnaSet", "SET");

    StringGridTpsEmulator =
        namedGrid(group, "StringGridTpsEmulator", kGridRows, kGridColumns, 1, 1, kColumnWidth);
    StringGridStepEmu =
        namedGrid(group, "StringGridStepEmu", kGridRows, kGridColumns, 1, 1, kColumnWidth);
    for (const ValueButton& b : kTpsButtons)
        this->*b.member = emuButton(group, b.name, b.caption);
    for (const ValueButton& b : kStepButtons)
        this->*b.member = emuButton(group, b.name, b.caption);
    buildLayout(group);
}

EmuMapsPanel::~EmuMapsPanel() = default;

void EmuMapsPanel::buildLayout(QGroupBox* group) {
    const auto labelled = [group](QBoxLayout* row, const char* name, const char* caption,
                                  QWidget* control) {
        row->addWidget(namedLabel(group, name, QString::fromLatin1(caption)));
        row->addWidget(control);
    };
    const auto setting = [group](QBoxLayout* row, QWidget* control) {
        row->addWidget(settingLabel(group, control));
        row->addWidget(control);
    };
    auto* presets = new QHBoxLayout;
    labelled(presets, "LabelDnaType", "DNA type:", ComboBoxDnaType);
    presets->addWidget(ButtonPlusMinusMode);
    presets->addWidget(ButtonPlusMinusDynamic);
    setting(presets, ComboBoxActivInput);
    presets->addStretch(1);
    auto* switches = new QHBoxLayout;
    setting(switches, ComboBoxTpsEmul);
    setting(switches, ComboBoxEmulatorStep);
    switches->addWidget(CheckBoxModCharDNA);
    switches->addStretch(1);
    auto* range = new QHBoxLayout;
    labelled(range, "LabelDnaMin1", "Min [V]:", AbNumSpinDnaMin1);
    labelled(range, "LabelDnaMax1", "Max [V]:", AbNumSpinDnaMax1);
    range->addWidget(ButtonDnaSet);
    range->addStretch(1);

    auto* maps = new QVBoxLayout(group);
    maps->setContentsMargins(4, 2, 4, 4);
    maps->setSpacing(3);
    for (QBoxLayout* row : {presets, switches, range})
        maps->addLayout(row);
    const auto gridRow = [&](QTableWidget* grid, const std::array<QPushButton*, 4>& buttons) {
        spreadColumns(grid);
        fitHeightToRows(grid);
        auto* column = new QGridLayout;
        column->setSpacing(1);
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            buttons[i]->setFixedWidth(kValueButtonWidth);
            // The grid keeps the keyboard, so its keys go on working after a click.
            buttons[i]->setFocusPolicy(Qt::NoFocus);
            column->addWidget(buttons[i], static_cast<int>(i % 2), static_cast<int>(i / 2));
        }
        auto* row = new QHBoxLayout;
        row->addWidget(grid, 1);
        row->addLayout(column);
        maps->addLayout(row);
    };
    gridRow(StringGridTpsEmulator, tpsButtons());
    gridRow(StringGridStepEmu, stepButtons());
}

std::array<QPushButton*, 4> EmuMapsPanel::tpsButtons() const {
    return {ButtonInc5DnaV, ButtonDec5DnaV, ButtonInc1DnaV, ButtonDec1DnaV};
}

std::array<QPushButton*, 4> EmuMapsPanel::stepButtons() const {
    return {ButtonInc5DnaStep, ButtonDec5DnaStep, ButtonInc1DnaStep, ButtonDec1DnaStep};
}

void EmuMapsPanel::attach(ControllerSession& session, const EmulatorExtremes& measured) {
    m_session = &session;
    m_measured = &measured;
    m_maps = std::make_unique<EmulatorMaps>(session.image, session.transfer, localeDecimalPoint());
    m_tpsGrid = std::make_unique<MapGrid>(StringGridTpsEmulator, m_maps->model(EmuGrid::Tps),
                                          session.gate, session.prompts);
    m_stepGrid = std::make_unique<MapGrid>(StringGridStepEmu, m_maps->model(EmuGrid::Step),
                                           session.gate, session.prompts);
    connectHandlers();
    session.live.add(LiveStage::Display,
                     [this](const LiveRecord& record) { UpdateLiveColumns(record.frame); });
}

void EmuMapsPanel::connectHandlers() {
    EditGate& gate = m_session->gate;
    EmulatorMaps& maps = *m_maps;
    for (const ValueButton& b : kTpsButtons)
        m_tpsGrid->addStepButton(this->*b.member, b.step);
    for (const ValueButton& b : kStepButtons)
        m_stepGrid->addStepButton(this->*b.member, b.step);
    gate.onChange(ComboBoxActivInput, [this, &maps](int item) {
        const std::string refused = maps.inputChosen(item).message;
        if (refused.empty())
            return;
        // Nothing was stored or sent: the list goes back to the input the controller uses.
        {
            const EditGate::Hold hold(m_session->gate);
            const std::optional<double> stored =
                shownValue(m_session->image, FieldId::EmuInputChannel);
            setIndex(ComboBoxActivInput,
                     stored ? std::optional<int>(static_cast<int>(*stored)) : std::nullopt);
        }
        message(refused);
    });
    gate.onEdit(ComboBoxDnaType, [this, &maps](int item) { showPreset(maps.presetChosen(item)); });
    gate.onChange(CheckBoxModCharDNA, [this](bool ticked) { CheckBoxModCharDNAClick(ticked); });
    gate.onClick(ButtonDnaSet, [this] { ButtonDnaSetClick(); });
}

void EmuMapsPanel::CheckBoxModCharDNAClick(bool ticked) {
    // An axis text still being typed belongs to the axis the mode saves when it ends.
    if (!ticked)
        m_tpsGrid->setInPlaceEditing(false);
    const AxisEditLayout layout = m_maps->axisEditChanged(ticked);
    m_tpsGrid->setFixedCells(layout.fixedRows, 1);
    for (QPushButton* button : tpsButtons())
        button->setEnabled(layout.valueButtonsEnabled);
    message(layout.save.message);
}

void EmuMapsPanel::ButtonDnaSetClick() {
    const SetOutcome outcome = m_maps->setPressed(m_measured->minimum(0), m_measured->maximum(0),
                                                  ComboBoxDnaType->currentIndex());
    AbNumSpinDnaMin1->setValue(outcome.minimum);
    AbNumSpinDnaMax1->setValue(outcome.maximum);
    if (!outcome.message.empty()) {
        message(outcome.message);
        return;
    }
    showPreset(outcome.preset);
}

void EmuMapsPanel::showPreset(const PresetShown& shown) {
    {
        const EditGate::Hold hold(m_session->gate);
        setIndex(ComboBoxTpsEmul, shown.tpsEmulatorItem);
        setIndex(ComboBoxEmulatorStep, shown.stepEmulatorItem);
        setIndex(ComboBoxActivInput, shown.inputItem);
        // A refused write-out changed nothing: the list shows what the tables still hold.
        if (!shown.message.empty())
            refreshDnaType();
    }
    message(shown.message);
}

void EmuMapsPanel::message(const std::string& text) {
    if (!text.empty())
        m_session->prompts.message(text);
}

void EmuMapsPanel::resetTables() {
    showPreset(m_maps->resetTables());
}

void EmuMapsPanel::refreshTpsTable() {
    const ConnectionState& state = m_session->state;
    const EmuRangeShown range =
        m_maps->showTpsTable(state.softwareRevision, state.hardwareRevision);
    if (range.minimum)
        AbNumSpinDnaMin1->setValue(*range.minimum);
    if (range.maximum)
        AbNumSpinDnaMax1->setValue(*range.maximum);
}

void EmuMapsPanel::refreshStepTable() {
    m_maps->showStepTable();
}

void EmuMapsPanel::refreshDnaType() {
    const DnaTypeShown shown = m_maps->dnaTypeShown();
    if (shown.kind == DnaTypeShown::Kind::Item)
        ComboBoxDnaType->setCurrentIndex(shown.item);
    else if (shown.kind == DnaTypeShown::Kind::Custom)
        ComboBoxDnaType->setCurrentIndex(-1);  // shows "CUSTOM"
}

void EmuMapsPanel::UpdateLiveColumns(const LiveFrame& frame) {
    if (!m_page->isVisible())
        return;
    const int tpsBefore = m_maps->liveColumn(EmuGrid::Tps);
    const int stepBefore = m_maps->liveColumn(EmuGrid::Step);
    if (!m_maps->updateLiveColumns(frame))
        return;
    m_tpsGrid->repaintColumn(tpsBefore + 1);
    m_tpsGrid->repaintColumn(m_maps->liveColumn(EmuGrid::Tps) + 1);
    m_stepGrid->repaintColumn(stepBefore + 1);
    m_stepGrid->repaintColumn(m_maps->liveColumn(EmuGrid::Step) + 1);
}

}  // namespace kaldor

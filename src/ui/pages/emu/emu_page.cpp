#include "ui/pages/emu/emu_page.h"
#include "ui/setting_controls.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QVBoxLayout>

#include "ui/bindings.h"
#include "ui/folding_frame.h"
#include "ui/pages/emu/emu_maps_panel.h"
#include "ui/pages/emu/emulator_controls.h"
#include "ui/pages/emu/frequency_emulator_group.h"
#include "ui/session.h"

namespace kaldor {

namespace {

struct LiveText {
    LiveLabel* EmuPage::*member;
    const char* name;
};

// In pairs of K1 and K2, one pair to a row.
constexpr LiveText kLiveLabels[] = {
    {&EmuPage::LabelK1, "LabelK1"},
    {&EmuPage::LabelK2, "LabelK2"},
    {&EmuPage::LabelDTPS1, "LabelDTPS1"},
    {&EmuPage::LabelDTPS2, "LabelDTPS2"},
    {&EmuPage::LabelDTPSout1, "LabelDTPSout1"},
    {&EmuPage::LabelDTPSout2, "LabelDTPSout2"},
    {&EmuPage::LabelFreq1Val, "LabelFreq1Val"},
    {&EmuPage::LabelFreq1ValOut, "LabelFreq1ValOut"},
    {&EmuPage::LabelVemu1, "LabelVemu1"},
    {&EmuPage::LabelVemu2, "LabelVemu2"},
    {&EmuPage::LabelDnaMaxMinK1, "LabelDnaMaxMinK1"},
    {&EmuPage::LabelDnaMaxMinK2, "LabelDnaMaxMinK2"},
    {&EmuPage::LabelOperationsPer100, "LabelOperationsPer100"},
};
constexpr int kLiveTextsPerRow = 2;

}  // namespace

EmuPage::EmuPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet10"));
    // A window smaller than the built-in size scrolls the page rather than squeezing the maps.
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    auto* content = new QWidget(scroll);
    scroll->setWidget(content);

    GroupBoxDnaSimple = namedGroup(content, "GroupBoxDnaSimple", QStringLiteral("DNA"));
    QWidget* settings = buildSignalEmulator();
    auto* top = new QHBoxLayout;
    top->addWidget(settings, 1);

    GroupBoxMapsEmu = settingGroup(GroupBoxDnaSimple, "GroupBoxMapsEmu");
    m_maps = new EmuMapsPanel(GroupBoxMapsEmu, this);
    StringGridTpsEmulator = m_maps->StringGridTpsEmulator;
    StringGridStepEmu = m_maps->StringGridStepEmu;

    auto* group = new QVBoxLayout(GroupBoxDnaSimple);
    group->addLayout(top);
    group->addWidget(GroupBoxMapsEmu);
    group->addStretch(1);

    auto* inner = new QVBoxLayout(content);
    inner->setContentsMargins(4, 4, 4, 4);
    inner->addWidget(GroupBoxDnaSimple);
    // The frequency emulator has its own revision rule: it is not part of the DNA group.
    GroupBoxFreqAlg = new FrequencyEmulatorGroup(content);
    inner->addWidget(GroupBoxFreqAlg);
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->addWidget(scroll);
}

EmuPage::~EmuPage() = default;

QWidget* EmuPage::buildSignalEmulator() {
    GroupBoxSignalEmulator = settingGroup(GroupBoxDnaSimple, "GroupBoxSignalEmulator");
    auto* contents = new QWidget(GroupBoxSignalEmulator);
    ComboBoxDNAEmuSelect = settingList(contents, "ComboBoxDNAEmuSelect");
    ComboBoxeEmulatorRelayOn = settingList(contents, "ComboBoxeEmulatorRelayOn");
    ComboBoxDnaSigRis1 = settingList(contents, "ComboBoxDnaSigRis1");
    ComboBoxDnaSigRis2 = settingList(contents, "ComboBoxDnaSigRis2");
    AbNumSpinMaxDTps = settingSpin(contents, "AbNumSpinMaxDTps");
    AbNumSpinMinDTps = settingSpin(contents, "AbNumSpinMinDTps");

    QWidget* const settings[] = {ComboBoxDNAEmuSelect, ComboBoxeEmulatorRelayOn, ComboBoxDnaSigRis1,
                                 ComboBoxDnaSigRis2,   AbNumSpinMaxDTps,         AbNumSpinMinDTps};
    constexpr int kSettingsPerRow = 3;
    auto* controls = new QGridLayout;
    controls->setVerticalSpacing(2);
    int i = 0;
    for (QWidget* control : settings) {
        const int row = i / kSettingsPerRow;
        const int column = 2 * (i % kSettingsPerRow);
        controls->addWidget(settingLabel(contents, control), row, column);
        controls->addWidget(control, row, column + 1);
        ++i;
    }
    controls->setColumnStretch(2 * kSettingsPerRow, 1);

    auto* texts = new QGridLayout;
    texts->setHorizontalSpacing(12);
    for (int k = 0; k < static_cast<int>(std::size(kLiveLabels)); ++k) {
        LiveLabel* label = named<LiveLabel>(contents, kLiveLabels[k].name);
        texts->addWidget(label, k / kLiveTextsPerRow, k % kLiveTextsPerRow);
        this->*kLiveLabels[k].member = label;
    }
    ButtonResetDnaMaxMin = emuButton(contents, "ButtonResetDnaMaxMin", "Reset");
    const int lastRow = (static_cast<int>(std::size(kLiveLabels)) - 1) / kLiveTextsPerRow;
    texts->addWidget(ButtonResetDnaMaxMin, lastRow, kLiveTextsPerRow - 1, Qt::AlignRight);

    auto* inner = new QVBoxLayout(contents);
    inner->setContentsMargins(0, 0, 0, 0);
    inner->addLayout(controls);
    inner->addLayout(texts);
    auto* outer = new QVBoxLayout(GroupBoxSignalEmulator);
    outer->setContentsMargins(4, 2, 4, 4);
    outer->addWidget(contents);
    m_folding = new FoldingFrame(GroupBoxSignalEmulator, contents);
    return GroupBoxSignalEmulator;
}

void EmuPage::attach(ControllerSession& session) {
    m_session = &session;
    m_bindings = std::make_unique<PageBindings>(this, session);
    m_maps->attach(session, m_extremes);
    connectHandlers();
    session.live.add(LiveStage::Display, [this](const LiveRecord& record) { showRecord(record); });
    GroupBoxFreqAlg->attach(session);
}

void EmuPage::connectHandlers() {
    EditGate& gate = m_session->gate;
    EcuImage& image = m_session->image;
    FieldSender& sender = m_session->transfer;
    gate.onEdit(ComboBoxDNAEmuSelect, [this, &image, &sender](int item) {
        showMode(emulatorSwitchChosen(image, sender, item));
    });
    gate.onEdit(ComboBoxeEmulatorRelayOn, [this, &image, &sender](int item) {
        showMode(relayModeChosen(image, sender, item));
    });
    gate.onClick(ButtonResetDnaMaxMin, [this] { m_extremes.reset(); });
}

void EmuPage::showMode(const std::optional<EmulatorModeShown>& shown) {
    if (!shown)
        return;
    const EditGate::Hold hold(m_session->gate);
    ComboBoxDNAEmuSelect->setCurrentIndex(shown->switchItem);
    if (shown->relayItem)
        ComboBoxeEmulatorRelayOn->setCurrentIndex(*shown->relayItem);
    GroupBoxMapsEmu->setVisible(shown->mapsShown);
}

void EmuPage::refreshFrequencyEmulator() {
    GroupBoxFreqAlg->refresh();
}

void EmuPage::refreshDtpsLimits() {
    m_bindings->refresh(RefreshStep::DtpsLimits);
}

void EmuPage::refreshInput() {
    m_bindings->refresh(RefreshStep::EmulatorInput);
}

void EmuPage::refreshEmulatorSettings() {
    m_bindings->refresh(RefreshStep::EmulatorSettings);
    showMode(emulatorModeShown(m_session->image));
}

void EmuPage::refreshTpsTable() {
    m_maps->refreshTpsTable();
}

void EmuPage::refreshStepTable() {
    m_maps->refreshStepTable();
}

void EmuPage::refreshDnaType() {
    m_maps->refreshDnaType();
}

void EmuPage::resetEmulatorTables() {
    m_maps->resetTables();
}

void EmuPage::showRevisionGroups(const RevisionGroups& groups) {
    GroupBoxDnaSimple->setVisible(groups.dnaSimple);
    GroupBoxFreqAlg->showRevisionGroups(groups);
}

void EmuPage::showRecord(const LiveRecord& record) {
    using S = LiveSignal;
    // Measuring counts only while the controller reports it and the group is part of the page.
    if (record.on(S::EmulatorMeasuring) && GroupBoxDnaSimple->isVisibleTo(this))
        m_extremes.measure(record.value(S::EmulatorChannel1), record.value(S::EmulatorChannel2));
    if (isVisible()) {
        const auto withUnit = [&record](S id) { return record.text(id) + liveSignalDef(id).unit; };
        const auto time = [&record](S id) {
            return record.text(id) + " " + liveSignalDef(id).unit;
        };
        setLiveText(LabelK1, "K1: " + withUnit(S::EmulatorCorrection1));
        setLiveText(LabelK2, "K2: " + withUnit(S::EmulatorCorrection2));
        setLiveText(LabelDTPS1, "DTPS1in: " + time(S::Dtps1In));
        setLiveText(LabelDTPS2, "DTPS2in: " + time(S::Dtps2In));
        setLiveText(LabelDTPSout1, "dTpsOut1: " + time(S::Dtps1Out));
        setLiveText(LabelDTPSout2, "dTpsOut2: " + time(S::Dtps2Out));
        setLiveText(LabelFreq1Val, "FQ " + record.text(S::FrequencyIn));
        setLiveText(LabelFreq1ValOut, "FQ " + record.text(S::FrequencyOut));
        setLiveText(LabelOperationsPer100, record.text(S::OperationsPerSecond) + " [op/s]");
    }
    const LiveContext& c = record.context;
    if (emulatorVoltagesShown(c.softwareRevision, c.hardwareRevision)) {
        setLiveText(LabelVemu1, record.text(S::EmulatorChannel1));
        setLiveText(LabelVemu2, record.text(S::EmulatorChannel2));
    }
    setLiveText(LabelDnaMaxMinK1, m_extremes.text(0));
    setLiveText(LabelDnaMaxMinK2, m_extremes.text(1));
}

}  // namespace kaldor

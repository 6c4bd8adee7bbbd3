#include "ui/pages/adjustment/main_map_panel.h"
#include "ui/setting_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

#include "maps/main_map_editor.h"
#include "maps/preset_maps.h"
#include "model/codec.h"
#include "model/fields.h"
#include "model/list_items.h"
#include "ui/map_grid/grid_headers.h"
#include "ui/map_grid/map_grid.h"
#include "ui/pages/adjustment/cell_view_panel.h"
#include "ui/pages/adjustment/map_surface_view.h"
#include "ui/qt_adapters.h"
#include "ui/session.h"
#include "ui/ui_build.h"

namespace kaldor {

namespace {

constexpr std::array kRpmDefsItems{"rpm / TPS / MAF",
                                   "700-3000 / 0.0-2.5 / 0.2-2.5",
                                   "900-3500 / 0.0-5.0 / 0.5-4.5",
                                   "900-4000 / 0.0-10  / 1.0-4.0",
                                   "900-4500 / 0.0-12  / 0.1-1.2",
                                   "700-2600 / 6.0-10  / 0.5-1.5",
                                   "700-2500 / 0.5-5.0 / 0.5-2.0",
                                   "700-2400 / 1.0-2.5 / 0.1-0.8",
                                   "700-2200 / 0.1-3.5 / 0.1-3.5",
                                   "700-2000 / 0.0-3.5 / 0.0-3.5"};
constexpr std::array kInjTdefsItems{"boost def.",
                                    "0.9-1.55",
                                    "0.9-1.6",
                                    "0.9-1.7",
                                    "0.9-1.9",
                                    "0.9-2.0",
                                    "0.9-2.1",
                                    "0.9-2.2",
                                    "1.0-2.3",
                                    "1.0-2.4",
                                    "1.0-2.7",
                                    "1.0-3.0",
                                    "1.0-3.4",
                                    "0.25-1.0",
                                    "0.25-1.7 turbo",
                                    "NO-TURBO 0.85-1.0",
                                    "NO-TURBO 0.90-1.0",
                                    "NO-TURBO 0.90-1.05",
                                    "NO-TURBO 0.95-1.10",
                                    "1.1-3.0",
                                    "1.1-3.4",
                                    "1.1-3.6"};
constexpr std::array kMapResetItems{"-", "LOW FLOW", "MEDIUM FLOW", "BIG FLOW", "VERY BIG FLOW"};

struct NamedButton {
    const char* name;
    const char* caption;
};
constexpr std::array<NamedButton, kPresetMapCount> kPresetButtons{{
    {"ButtonMap1", "LowFlow"},
    {"ButtonMap2", "MidFlow"},
    {"ButtonMap3", "HigFlow"},
    {"ButtonMap4", "VhigFlow"},
}};
struct StepButton {
    const char* name;
    const char* caption;
    int step;
};
constexpr std::array<StepButton, 4> kStepButtons{{
    {"ButtonInc5", "+5", 5},
    {"ButtonInc1", "+1", 1},
    {"ButtonDecr1", "-1", -1},
    {"ButtonDecr5", "-5", -5},
}};

// The grid's share of its size: nine columns and seventeen rows, each two pixels short; the
// font follows the row height.
constexpr int kResizeColumns = kMainMapGridColumns;
constexpr int kResizeRows = kMainMapGridRows;
constexpr int kCellMargin = 2;
constexpr int kFontPerRowHeight = 20;
constexpr int kRowHeightPerFont = 31;

}  // namespace

MainMapPanel::MainMapPanel(QTableWidget* grid, QFrame* panel) : StringGridMapa(grid) {
    LabelMapTyp = settingLabel(panel, "ComboBoxMapa");
    ComboBoxMapa = settingList(panel, "ComboBoxMapa");
    ComboBoxTpsTyp = settingList(panel, "ComboBoxTpsTyp");
    ComboBoxTpsTyp->hide();
    CheckBoxModPchar = named<QCheckBox>(panel, "CheckBoxModPchar");
    CheckBoxModPchar->setText(QStringLiteral("Mod.Char. Poin."));
    ComboBoxRpmDefs = namedList(panel, "ComboBoxRpmDefs", kRpmDefsItems);
    ComboBoxInjTdefs = namedList(panel, "ComboBoxInjTdefs", kInjTdefsItems);
    ComboBoxRpmDefs->hide();
    ComboBoxInjTdefs->hide();
    // Run by the mode switch and the map type as if clicked; never shown.
    ButtonSaveMapCharP = named<QPushButton>(panel, "ButtonSaveMapCharP");
    ButtonSaveMapCharP->setText(QStringLiteral("Save Char. Poin."));
    ButtonSaveMapCharP->hide();

    LabelMapDefine = namedLabel(panel, "LabelMapDefine", QStringLiteral("map reset:"));
    ComboBoxMapReset = namedList(panel, "ComboBoxMapReset", kMapResetItems);
    // ComboBoxMapReset drives the preset buttons; they are never shown.
    QPushButton** const presets[] = {&ButtonMap1, &ButtonMap2, &ButtonMap3, &ButtonMap4};
    for (std::size_t i = 0; i < kPresetButtons.size(); ++i) {
        *presets[i] = named<QPushButton>(panel, kPresetButtons[i].name);
        (*presets[i])->setText(QString::fromLatin1(kPresetButtons[i].caption));
        (*presets[i])->hide();
    }
    LabelMapSmooth = namedLabel(panel, "LabelMapSmooth", QStringLiteral("map smooth:"));
    ButtonMapSmooth = named<QPushButton>(panel, "ButtonMapSmooth");
    ButtonMapSmooth->setText(QStringLiteral("smooth"));

    QPushButton** const steps[] = {&ButtonInc5, &ButtonInc1, &ButtonDecr1, &ButtonDecr5};
    for (std::size_t i = 0; i < kStepButtons.size(); ++i) {
        *steps[i] = named<QPushButton>(panel, kStepButtons[i].name);
        (*steps[i])->setText(QString::fromLatin1(kStepButtons[i].caption));
        (*steps[i])->setFixedSize(32, 22);
        // The grid keeps the keyboard, so the plus and minus keys go on working after a click.
        (*steps[i])->setFocusPolicy(Qt::NoFocus);
    }
    ButtonMap3D = named<QPushButton>(panel, "ButtonMap3D");
    ButtonMap3D->setText(QStringLiteral("3D"));
    ButtonMap3D->setAccessibleName(QStringLiteral("3D view"));
    ButtonMap3D->setCheckable(true);
    ButtonMap3D->setFixedSize(32, 22);
    ButtonMap3D->setFocusPolicy(Qt::NoFocus);
    ButtonMapCells = named<QPushButton>(panel, "ButtonMapCells");
    ButtonMapCells->setText(QStringLiteral("cells"));
    ButtonMapCells->setAccessibleName(ButtonMapCells->text());
    ButtonMapCells->setCheckable(true);
    ProgressBarMapa = named<QProgressBar>(panel, "ProgressBarMapa");
    ProgressBarMapa->setRange(0, kMainMapCells);
    ProgressBarMapa->setValue(0);
    ProgressBarMapa->setTextVisible(false);
    ProgressBarMapa->setFixedHeight(8);

    auto* types = new QHBoxLayout;
    for (QWidget* w :
         std::initializer_list<QWidget*>{LabelMapTyp, ComboBoxMapa, ComboBoxTpsTyp,
                                         CheckBoxModPchar, ComboBoxRpmDefs, ComboBoxInjTdefs})
        types->addWidget(w);
    types->addStretch(1);
    for (QPushButton* b : {ButtonInc5, ButtonInc1, ButtonDecr1, ButtonDecr5})
        types->addWidget(b);
    auto* tools = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{LabelMapDefine, ComboBoxMapReset,
                                                      LabelMapSmooth, ButtonMapSmooth})
        tools->addWidget(w);
    tools->addWidget(ProgressBarMapa, 1);
    auto* outer = new QVBoxLayout(panel);
    outer->setContentsMargins(3, 3, 3, 3);
    outer->setSpacing(2);
    outer->addLayout(types);
    outer->addLayout(tools);
    // The selection tools and the 3D switch in a row of their own, so the window keeps its
    // least width in every language.
    m_stepRow = new QHBoxLayout;
    m_stepRow->addStretch(1);
    outer->addLayout(m_stepRow);

    StringGridMapa->installEventFilter(this);
}

MainMapPanel::~MainMapPanel() = default;

void MainMapPanel::attach(ControllerSession& session) {
    m_session = &session;
    m_progress = std::make_unique<ProgressBarSink>(ProgressBarMapa);
    m_editor = std::make_unique<MainMapEditor>(session.image, session.transfer, *m_progress,
                                               localeDecimalPoint());
    m_mapGrid = std::make_unique<MapGrid>(StringGridMapa, *m_editor, session.gate, session.prompts);
    m_mapGrid->setEntryDialog(m_dialog);
    m_stepRow->addWidget(m_mapGrid->createToolButtons(ButtonInc5->parentWidget()));
    m_stepRow->addWidget(ButtonMap3D);
    m_stepRow->addWidget(ButtonMapCells);
    m_surface = new MapSurfaceView(
        *m_editor, [this] { return m_mapGrid->selection(); }, StringGridMapa);
    m_surface->hide();
    connect(ButtonMap3D, &QPushButton::toggled, this, [this](bool on) {
        m_surface->setGeometry(StringGridMapa->rect());
        m_surface->setVisible(on);
    });
    connect(m_mapGrid.get(), &MapGrid::textShown, m_surface, [this] {
        if (m_surface->isVisible())
            m_surface->update();
    });
    connect(StringGridMapa, &QTableWidget::itemSelectionChanged, m_surface, [this] {
        if (m_surface->isVisible())
            m_surface->update();
    });
    m_cells = new CellViewPanel(*m_editor, *m_mapGrid, session, StringGridMapa);
    m_cells->hide();
    connect(ButtonMapCells, &QPushButton::toggled, this, [this](bool on) {
        m_cells->setGeometry(StringGridMapa->rect());
        m_cells->setVisible(on);
    });
    connect(m_mapGrid.get(), &MapGrid::textShown, m_cells, [this] { m_cells->mapChanged(); });
    connectHandlers();
    session.editor.setCoilTypeFollowUp([this] { rpmAxisAfterSignalTypeChange(); });
    session.live.add(LiveStage::Display,
                     [this](const LiveRecord& record) { UpdateOperatingPoint(record.frame); });
}

void MainMapPanel::setEntryDialog(TForm2* dialog) {
    m_dialog = dialog;
    if (m_mapGrid)
        m_mapGrid->setEntryDialog(dialog);
}

void MainMapPanel::connectHandlers() {
    EditGate& gate = m_session->gate;
    MainMapEditor& e = *m_editor;
    gate.onChange(ComboBoxMapa, [this, &e](int item) {
        const MapTypeOutcome outcome = e.mapTypeChosen(item, m_session->state.softwareRevision);
        if (!outcome.changed)
            return;
        message(outcome.refusal);
        applyLayout(outcome.layout);
        showSave(outcome.save);
    });
    gate.onChange(ComboBoxTpsTyp, [this, &e](int item) {
        const MapTypeOutcome outcome = e.tpsKindChosen(item);
        if (!outcome.changed)
            return;
        applyLayout(outcome.layout);
        ComboBoxRpmDefs->setCurrentIndex(0);
        ComboBoxInjTdefs->setCurrentIndex(0);
        showSave(outcome.save);
    });
    gate.onChange(ComboBoxRpmDefs, [&e](int item) { (void)e.columnPresetChosen(item); });
    gate.onChange(ComboBoxInjTdefs, [&e](int item) { (void)e.rowPresetChosen(item); });
    gate.onChange(ComboBoxMapReset, [this, &e](int item) {
        ComboBoxMapReset->setCurrentIndex(e.mapResetChosen(item));
    });
    gate.onChange(CheckBoxModPchar, [this](bool ticked) { CheckBoxModPcharClick(ticked); });
    gate.onClick(ButtonSaveMapCharP, [this] { saveAxes(); });
    gate.onClick(ButtonMapSmooth, [&e] { e.smooth(); });
    QPushButton* const presets[] = {ButtonMap1, ButtonMap2, ButtonMap3, ButtonMap4};
    for (int k = 1; k <= kPresetMapCount; ++k)
        gate.onClick(presets[k - 1], [&e, k] { (void)e.loadPresetMap(k); });
    QPushButton* const steps[] = {ButtonInc5, ButtonInc1, ButtonDecr1, ButtonDecr5};
    for (std::size_t i = 0; i < kStepButtons.size(); ++i)
        m_mapGrid->addStepButton(steps[i], kStepButtons[i].step);
}

void MainMapPanel::applyLayout(const MainMapLayout& layout) {
    const EditGate::Hold hold(m_session->gate);
    ComboBoxMapa->setCurrentIndex(layout.mapType);
    m_mapGrid->setColumnCount(layout.colCount);
    ComboBoxTpsTyp->setVisible(layout.tpsTypShown);
    ComboBoxTpsTyp->setCurrentIndex(layout.tpsTypItem);
}

void MainMapPanel::CheckBoxModPcharClick(bool ticked) {
    // An axis text still being typed belongs to the axes the mode saves when it ends.
    if (!ticked)
        m_mapGrid->setInPlaceEditing(false);
    const CharPointLayout layout = m_editor->charPointModeChanged(ticked);
    m_mapGrid->setFixedCells(layout.fixedCells, layout.fixedCells);
    ComboBoxRpmDefs->setVisible(layout.presetsShown);
    ComboBoxInjTdefs->setVisible(layout.presetsShown);
    if (!layout.on) {
        ComboBoxRpmDefs->setCurrentIndex(layout.presetItem);
        ComboBoxInjTdefs->setCurrentIndex(layout.presetItem);
    }
    showSave(layout.save);
}

void MainMapPanel::saveAxes() {
    showSave(m_editor->saveAxes());
}

void MainMapPanel::showSave(const AxisSaveOutcome& outcome) {
    if (outcome.result == AxisSaveOutcome::Result::Refused)
        message(outcome.message);
}

void MainMapPanel::message(const std::string& text) {
    if (!text.empty())
        m_session->prompts.message(text);
}

void MainMapPanel::ShowMainMap() {
    applyLayout(m_editor->ShowMainMap());
    m_cruiseRpmAtRefresh =
        shownValue(m_session->image, FieldId::CruiseRpmPeriod).value_or(m_cruiseRpmAtRefresh);
}

void MainMapPanel::UpdateOperatingPoint(const LiveFrame& frame) {
    const bool running =
        m_session->state.connected || (m_demoPlayback != nullptr && m_demoPlayback());
    const MapOperatingPoint before = m_editor->operatingPoint();
    if (!m_editor->updateOperatingPoint(frame, running) || !m_mapGrid->isShown())
        return;
    const MapOperatingPoint& now = m_editor->operatingPoint();
    m_mapGrid->repaintCell(before.x + 1, before.y + 1);
    m_mapGrid->repaintCell(now.x + 1, now.y + 1);
    if (m_surface->isVisible())
        m_surface->update();
}

void MainMapPanel::rpmAxisAfterSignalTypeChange() {
    const double rpm = m_cruiseRpmShown ? m_cruiseRpmShown() : m_cruiseRpmAtRefresh;
    message(m_editor->rpmAxisAfterSignalTypeChange(rpm));
}

void MainMapPanel::TabSheet3Resize() {
    const int columnWidth = StringGridMapa->width() / kResizeColumns - kCellMargin;
    const int rowHeight = StringGridMapa->height() / kResizeRows - kCellMargin;
    StringGridMapa->horizontalHeader()->setDefaultSectionSize(columnWidth);
    StringGridMapa->verticalHeader()->setDefaultSectionSize(rowHeight);
    QFont font = StringGridMapa->font();
    font.setPointSize(std::max(1, rowHeight * kFontPerRowHeight / kRowHeightPerFont));
    StringGridMapa->setFont(font);
}

bool MainMapPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == StringGridMapa && event->type() == QEvent::Resize) {
        TabSheet3Resize();
        if (m_surface != nullptr)
            m_surface->setGeometry(StringGridMapa->rect());
        if (m_cells != nullptr)
            m_cells->setGeometry(StringGridMapa->rect());
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace kaldor

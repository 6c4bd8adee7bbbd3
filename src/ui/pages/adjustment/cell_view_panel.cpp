#include "ui/pages/adjustment/cell_view_panel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <filesystem>

#include "live/log_csv.h"
#include "live/recording_setup.h"
#include "maps/main_map_editor.h"
#include "ui/map_grid/map_grid.h"
#include "ui/session.h"
#include "ui/ui_build.h"
#include "ui/window_texts.h"

namespace kaldor {
namespace {

// What the view opens with: the exhaust temperature, the signal to lean the map by.
constexpr LiveSignal kFirstSignal = LiveSignal::ExhaustTemperature;

}  // namespace

CellViewPanel::CellViewPanel(MainMapEditor& editor, MapGrid& mapGrid, ControllerSession& session,
                             QWidget* parent)
    : QWidget(parent), m_editor(editor), m_mapGrid(mapGrid), m_session(session) {
    setObjectName(QStringLiteral("PanelCells"));
    setAutoFillBackground(true);
    LabelCellsRecordingCaption =
        namedLabel(this, "LabelCellsRecordingCaption", QStringLiteral("recording:"));
    LabelCellsRecording = namedLabel(this, "LabelCellsRecording", QString());
    ButtonCellsOpen = named<QPushButton>(this, "ButtonCellsOpen");
    ButtonCellsOpen->setText(QStringLiteral("open recording..."));
    LabelCellsStatisticCaption =
        namedLabel(this, "LabelCellsStatisticCaption", QStringLiteral("show:"));
    ComboBoxCellsStatistic = named<QComboBox>(this, "ComboBoxCellsStatistic");
    ComboBoxCellsStatistic->addItems(
        {QStringLiteral("time [s]"), QStringLiteral("mean"), QStringLiteral("maximum")});
    LabelCellsStatisticCaption->setBuddy(ComboBoxCellsStatistic);
    LabelCellsSignalCaption =
        namedLabel(this, "LabelCellsSignalCaption", QStringLiteral("signal:"));
    ComboBoxCellsSignal = named<QComboBox>(this, "ComboBoxCellsSignal");
    for (const LiveSignalDef& d : liveSignals())
        ComboBoxCellsSignal->addItem(QString(), static_cast<int>(d.id));
    ComboBoxCellsSignal->setCurrentIndex(static_cast<int>(kFirstSignal));
    LabelCellsSignalCaption->setBuddy(ComboBoxCellsSignal);

    StringGridCells = named<QTableWidget>(this, "StringGridCells");
    StringGridCells->setColumnCount(kMainMapGridColumns);
    StringGridCells->setRowCount(kMainMapGridRows);
    StringGridCells->horizontalHeader()->hide();
    StringGridCells->verticalHeader()->hide();
    StringGridCells->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    StringGridCells->verticalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    // Every row in sight, as in the map's grid beneath, though the bar above takes its height.
    StringGridCells->verticalHeader()->setMinimumSectionSize(1);
    StringGridCells->setEditTriggers(QAbstractItemView::NoEditTriggers);

    m_model = std::make_unique<CellViewModel>(editor.grid());
    m_model->show(std::nullopt, CellStatistic::Seconds);
    m_grid = std::make_unique<MapGrid>(StringGridCells, *m_model, session.gate, session.prompts);

    auto* top = new QHBoxLayout;
    top->addWidget(LabelCellsRecordingCaption);
    top->addWidget(LabelCellsRecording, 1);
    top->addWidget(ButtonCellsOpen);
    top->addWidget(LabelCellsStatisticCaption);
    top->addWidget(ComboBoxCellsStatistic);
    top->addWidget(LabelCellsSignalCaption);
    top->addWidget(ComboBoxCellsSignal);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(2);
    outer->addLayout(top);
    outer->addWidget(StringGridCells, 1);
    setTabOrder(ButtonCellsOpen, ComboBoxCellsStatistic);
    setTabOrder(ComboBoxCellsStatistic, ComboBoxCellsSignal);
    setTabOrder(ComboBoxCellsSignal, StringGridCells);

    connect(ButtonCellsOpen, &QPushButton::clicked, this, [this] { openRecording(); });
    connect(ComboBoxCellsStatistic, qOverload<int>(&QComboBox::activated), this,
            [this] { recompute(); });
    connect(ComboBoxCellsSignal, qOverload<int>(&QComboBox::activated), this,
            [this] { recompute(); });
    connect(StringGridCells, &QTableWidget::itemSelectionChanged, this, [this] { selectInMap(); });
    setTexts(session.setupTexts);
}

CellViewPanel::~CellViewPanel() = default;

RecordingSetup CellViewPanel::setup() const {
    // The map the grid shows is the one the cells are counted on; its set-up converts.
    return controllerSetup(m_session.image, m_session.state);
}

void CellViewPanel::openRecording() {
    FileQuestion question;
    question.filters = {{std::string(kDemoLogPattern), std::string(kDemoLogPattern)},
                        {std::string(kCsvPattern), std::string(kCsvPattern)}};
    const std::optional<FileAnswer> answer = m_session.prompts.askOpenFile(question);
    if (answer && !answer->path.empty())
        (void)showRecording(answer->path);
}

bool CellViewPanel::showRecording(const std::string& path) {
    std::string file = path;
    if (m_loggedPath)
        if (const std::optional<std::string> logged = m_loggedPath(path))
            file = *logged;
    const RecordingRead read = readRecording(file);
    if (!read.recording) {
        m_session.prompts.message(read.message);
        return false;
    }
    m_recording = read.recording;
    LabelCellsRecording->setText(
        QString::fromStdString(std::filesystem::path(path).filename().string()));
    recompute();
    return true;
}

void CellViewPanel::setTexts(const SetupTexts& texts) {
    if (!m_recording)
        LabelCellsRecording->setText(uiText(texts, WindowText::NoRecording));
    LabelCellsRecording->setAccessibleName(uiText(texts, WindowText::CellsRecordingName));
    StringGridCells->setAccessibleName(uiText(texts, WindowText::CellsGridName));
    ButtonCellsOpen->setAccessibleName(ButtonCellsOpen->text());
    ComboBoxCellsStatistic->setAccessibleName(LabelCellsStatisticCaption->text());
    ComboBoxCellsSignal->setAccessibleName(LabelCellsSignalCaption->text());
    for (int i = 0; i < ComboBoxCellsSignal->count(); ++i)
        ComboBoxCellsSignal->setItemText(
            i, channelNameAndUnit(
                   texts, static_cast<LiveSignal>(ComboBoxCellsSignal->itemData(i).toInt())));
}

void CellViewPanel::mapChanged() {
    // An edit shows its cells one by one: the table once, after the last.
    if (m_recomputePending)
        return;
    m_recomputePending = true;
    QTimer::singleShot(0, this, [this] {
        m_recomputePending = false;
        recompute();
    });
}

void CellViewPanel::recompute() {
    const auto statistic = static_cast<CellStatistic>(ComboBoxCellsStatistic->currentIndex());
    std::optional<CellTable> table;
    if (m_recording) {
        std::optional<LiveSignal> signal;
        if (statistic != CellStatistic::Seconds)
            signal = static_cast<LiveSignal>(ComboBoxCellsSignal->currentData().toInt());
        table = cellStatistics(*m_recording, setup(), signal);
    }
    m_model->show(table, statistic);
    m_grid->repaintAll();
}

void CellViewPanel::selectInMap() {
    const std::optional<GridRect> rect = m_grid->selection();
    QTableWidget* map = m_mapGrid.widget();
    if (!rect || map == nullptr)
        return;
    map->clearSelection();
    map->setRangeSelected(QTableWidgetSelectionRange(
                              std::min(rect->top, rect->bottom), std::min(rect->left, rect->right),
                              std::max(rect->top, rect->bottom), std::max(rect->left, rect->right)),
                          true);
}

}  // namespace kaldor

#include "ui/pages/advanced/axis_cell_view_panel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>

#include "live/log_csv.h"
#include "live/recording_setup.h"
#include "ui/map_grid/map_grid.h"
#include "ui/session.h"
#include "ui/ui_build.h"
#include "ui/window_texts.h"

namespace kaldor {
namespace {

constexpr LiveSignal kFirstSignal = LiveSignal::ExhaustTemperature;
constexpr int kRowHeight = 17;
constexpr int kColumnWidth = 26;
constexpr int kButtonWidth = 40;
constexpr int kButtonHeight = 20;  // as the cruise map's step buttons
constexpr int kListCharacters = 7;

// The caption the language gives the main map's cell view control `name`, else `english`.
QString captionOf(const SetupTexts& texts, const char* name, const char* english) {
    const auto found = texts.captions.find(name);
    return QString::fromStdString(found != texts.captions.end() ? found->second : english);
}

QString itemOf(const SetupTexts& texts, const char* list, int index, const char* english) {
    const auto found = texts.items.find({list, index});
    return QString::fromStdString(found != texts.items.end() ? found->second : english);
}

constexpr const char* kStatistics[] = {"time [s]", "mean", "maximum"};

}  // namespace

AxisCellViewPanel::AxisCellViewPanel(const std::string& map, int columns, QWidget* buttonParent,
                                     QWidget* parent)
    : QWidget(parent) {
    const auto name = [&map](const char* control) { return std::string(control) + map; };
    setObjectName(QString::fromStdString(name("PanelCells")));
    // Short buttons and lists: the view and its button fit beside a one-row map at the window's
    // least width.
    ButtonCells = named<FittedButton>(buttonParent, name("ButtonCells").c_str(),
                                      QStringLiteral("cells"), kButtonWidth);
    ButtonCells->setFixedHeight(kButtonHeight);
    ButtonCells->setCheckable(true);
    LabelCellsRecordingCaption =
        namedLabel(this, name("LabelCellsRecordingCaption").c_str(), QStringLiteral("recording:"));
    LabelCellsRecording = namedLabel(this, name("LabelCellsRecording").c_str(), QString());
    ButtonCellsOpen = named<FittedButton>(this, name("ButtonCellsOpen").c_str(),
                                          QStringLiteral("open recording..."), kButtonWidth);
    LabelCellsStatisticCaption =
        namedLabel(this, name("LabelCellsStatisticCaption").c_str(), QStringLiteral("show:"));
    ComboBoxCellsStatistic = named<QComboBox>(this, name("ComboBoxCellsStatistic").c_str());
    for (const char* item : kStatistics)
        ComboBoxCellsStatistic->addItem(QString::fromLatin1(item));
    LabelCellsStatisticCaption->setBuddy(ComboBoxCellsStatistic);
    LabelCellsSignalCaption =
        namedLabel(this, name("LabelCellsSignalCaption").c_str(), QStringLiteral("signal:"));
    ComboBoxCellsSignal = named<QComboBox>(this, name("ComboBoxCellsSignal").c_str());
    for (const LiveSignalDef& d : liveSignals())
        ComboBoxCellsSignal->addItem(QString(), static_cast<int>(d.id));
    ComboBoxCellsSignal->setCurrentIndex(static_cast<int>(kFirstSignal));
    LabelCellsSignalCaption->setBuddy(ComboBoxCellsSignal);
    for (QComboBox* box : {ComboBoxCellsStatistic, ComboBoxCellsSignal}) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(kListCharacters);
    }
    StringGridCells = namedGrid(this, name("StringGridCells").c_str(), AxisCellViewModel::kRows,
                                columns, 1, 0, kColumnWidth, kRowHeight);
    StringGridCells->setFont(smallerFont(StringGridCells->font()));
    spreadColumns(StringGridCells);
    fitHeightToRows(StringGridCells);

    // Two lines above the grid, and a long file name clipped: the view fits the narrow column of
    // the correction maps.
    LabelCellsRecording->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* recording = new QHBoxLayout;
    recording->addWidget(LabelCellsRecordingCaption);
    recording->addWidget(LabelCellsRecording, 1);
    recording->addWidget(ButtonCellsOpen);
    auto* choice = new QHBoxLayout;
    choice->addWidget(LabelCellsStatisticCaption);
    choice->addWidget(ComboBoxCellsStatistic);
    choice->addWidget(LabelCellsSignalCaption);
    choice->addWidget(ComboBoxCellsSignal, 1);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(2);
    outer->addLayout(recording);
    outer->addLayout(choice);
    outer->addWidget(StringGridCells);
    setTabOrder(ButtonCellsOpen, ComboBoxCellsStatistic);
    setTabOrder(ComboBoxCellsStatistic, ComboBoxCellsSignal);
    setTabOrder(ComboBoxCellsSignal, StringGridCells);
    hide();

    connect(ButtonCells, &QPushButton::toggled, this, [this](bool on) { setVisible(on); });
    connect(ButtonCellsOpen, &QPushButton::clicked, this, [this] { openRecording(); });
    connect(ComboBoxCellsStatistic, qOverload<int>(&QComboBox::activated), this,
            [this] { recompute(); });
    connect(ComboBoxCellsSignal, qOverload<int>(&QComboBox::activated), this,
            [this] { recompute(); });
    connect(StringGridCells, &QTableWidget::itemSelectionChanged, this, [this] { selectInMap(); });
    setTexts(SetupTexts{});
}

AxisCellViewPanel::~AxisCellViewPanel() = default;

void AxisCellViewPanel::attach(ControllerSession& session, const GridTexts& texts, MapGrid& mapGrid,
                               Statistics statistics) {
    m_session = &session;
    m_mapGrid = &mapGrid;
    m_statistics = std::move(statistics);
    m_model = std::make_unique<AxisCellViewModel>(texts);
    m_model->show(std::nullopt, CellStatistic::Seconds);
    m_grid = std::make_unique<MapGrid>(StringGridCells, *m_model, session.gate, session.prompts);
    m_grid->setFixedCells(1, 0);
    connect(&mapGrid, &MapGrid::textShown, this, [this] { mapChanged(); });
    // The map's texts as they stand now, and again whenever the view is shown.
    connect(ButtonCells, &QPushButton::toggled, this, [this](bool on) {
        if (on)
            recompute();
    });
    setTexts(session.setupTexts);
}

void AxisCellViewPanel::openRecording() {
    if (m_session == nullptr)
        return;
    FileQuestion question;
    question.filters = {{std::string(kDemoLogPattern), std::string(kDemoLogPattern)},
                        {std::string(kCsvPattern), std::string(kCsvPattern)}};
    const std::optional<FileAnswer> answer = m_session->prompts.askOpenFile(question);
    if (answer && !answer->path.empty())
        (void)showRecording(answer->path);
}

bool AxisCellViewPanel::showRecording(const std::string& path) {
    if (m_session == nullptr)
        return false;
    std::string file = path;
    if (m_loggedPath)
        if (const std::optional<std::string> logged = m_loggedPath(path))
            file = *logged;
    const RecordingRead read = readRecording(file);
    if (!read.recording) {
        m_session->prompts.message(read.message);
        return false;
    }
    m_recording = read.recording;
    LabelCellsRecording->setText(
        QString::fromStdString(std::filesystem::path(path).filename().string()));
    recompute();
    return true;
}

void AxisCellViewPanel::setTexts(const SetupTexts& texts) {
    ButtonCells->setText(captionOf(texts, "ButtonMapCells", "cells"));
    ButtonCellsOpen->setText(captionOf(texts, "ButtonCellsOpen", "open recording..."));
    LabelCellsRecordingCaption->setText(
        captionOf(texts, "LabelCellsRecordingCaption", "recording:"));
    LabelCellsStatisticCaption->setText(captionOf(texts, "LabelCellsStatisticCaption", "show:"));
    LabelCellsSignalCaption->setText(captionOf(texts, "LabelCellsSignalCaption", "signal:"));
    for (int i = 0; i < ComboBoxCellsStatistic->count(); ++i)
        ComboBoxCellsStatistic->setItemText(
            i, itemOf(texts, "ComboBoxCellsStatistic", i, kStatistics[i]));
    if (!m_recording)
        LabelCellsRecording->setText(uiText(texts, WindowText::NoRecording));
    ButtonCells->setAccessibleName(ButtonCells->text());
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

void AxisCellViewPanel::mapChanged() {
    if (m_recomputePending || !isVisible())
        return;
    m_recomputePending = true;
    QTimer::singleShot(0, this, [this] {
        m_recomputePending = false;
        recompute();
    });
}

void AxisCellViewPanel::recompute() {
    if (!m_model)
        return;
    const auto statistic = static_cast<CellStatistic>(ComboBoxCellsStatistic->currentIndex());
    std::optional<AxisTable> table;
    if (m_recording) {
        std::optional<LiveSignal> signal;
        if (statistic != CellStatistic::Seconds)
            signal = static_cast<LiveSignal>(ComboBoxCellsSignal->currentData().toInt());
        // The map the grid shows is the one the columns are counted on; its set-up converts.
        table =
            m_statistics(*m_recording, controllerSetup(m_session->image, m_session->state), signal);
    }
    m_model->show(table, statistic);
    m_grid->repaintAll();
}

void AxisCellViewPanel::selectInMap() {
    const std::optional<GridRect> rect = m_grid ? m_grid->selection() : std::nullopt;
    QTableWidget* map = m_mapGrid != nullptr ? m_mapGrid->widget() : nullptr;
    if (!rect || map == nullptr)
        return;
    // The map's values row: its columns, whatever rows were picked here.
    map->clearSelection();
    map->setRangeSelected(QTableWidgetSelectionRange(1, std::min(rect->left, rect->right), 1,
                                                     std::max(rect->left, rect->right)),
                          true);
}

}  // namespace kaldor

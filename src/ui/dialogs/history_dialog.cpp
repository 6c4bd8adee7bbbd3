#include "ui/dialogs/history_dialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

#include "ui/ui_build.h"
#include "ui/window_texts.h"

namespace kaldor {
namespace {

constexpr int kMinWidth = 720;
constexpr int kMinHeight = 420;
constexpr std::array<WindowText, 5> kHeadings{WindowText::HeadingTime, WindowText::HeadingWhat,
                                              WindowText::HeadingRevisions,
                                              WindowText::HeadingProgram,
                                              WindowText::HeadingDifferences};

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

HistoryDialog::HistoryDialog(HistoryBrowser& browser, QWidget* parent, const SetupTexts& texts)
    : QDialog(parent), m_browser(browser), m_texts(texts) {
    const auto caption = [this](WindowText t) { return uiText(m_texts, t); };
    setObjectName(QStringLiteral("HistoryDialog"));
    setWindowTitle(caption(WindowText::HistoryTitle));
    setModal(true);
    setMinimumSize(kMinWidth, kMinHeight);

    LabelHistorySerial =
        namedLabel(this, "LabelHistorySerial", caption(WindowText::HistorySerial));
    ComboBoxHistorySerial = named<QComboBox>(this, "ComboBoxHistorySerial");
    ComboBoxHistorySerial->setAccessibleName(caption(WindowText::HistorySerial));
    LabelHistorySerial->setBuddy(ComboBoxHistorySerial);

    GridHistory = named<QTableWidget>(this, "GridHistory", 0, static_cast<int>(kHeadings.size()));
    GridHistory->setAccessibleName(caption(WindowText::HistoryEntries));
    GridHistory->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridHistory->setSelectionBehavior(QAbstractItemView::SelectRows);
    GridHistory->setSelectionMode(QAbstractItemView::SingleSelection);
    GridHistory->verticalHeader()->hide();
    QStringList headings;
    for (const WindowText h : kHeadings)
        headings << caption(h);
    GridHistory->setHorizontalHeaderLabels(headings);
    GridHistory->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    GridHistory->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);

    LabelHistoryNotes = namedLabel(this, "LabelHistoryNotes", QString());
    LabelHistoryNotes->setWordWrap(true);
    LabelHistoryNotes->setTextInteractionFlags(Qt::TextSelectableByMouse);

    ButtonHistoryCompare =
        named<QPushButton>(this, "ButtonHistoryCompare", caption(WindowText::Compare));
    ButtonHistoryRestore =
        named<QPushButton>(this, "ButtonHistoryRestore", caption(WindowText::Restore));
    ButtonHistorySaveAs =
        named<QPushButton>(this, "ButtonHistorySaveAs", caption(WindowText::SaveAs));
    ButtonHistoryClose =
        named<QPushButton>(this, "ButtonHistoryClose", caption(WindowText::Close));
    for (QPushButton* b :
         {ButtonHistoryCompare, ButtonHistoryRestore, ButtonHistorySaveAs, ButtonHistoryClose}) {
        b->setAccessibleName(b->text());
        // Enter closes; a restore is always a deliberate click.
        b->setAutoDefault(false);
    }
    ButtonHistoryClose->setDefault(true);

    connect(ComboBoxHistorySerial, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this] { showEntries(); });
    connect(GridHistory, &QTableWidget::itemSelectionChanged, this, [this] { updateButtons(); });
    connect(ButtonHistoryCompare, &QPushButton::clicked, this, [this] {
        withChosen(
            [this](std::uint32_t serial, const HistoryEntry& e) { m_browser.compare(serial, e); });
    });
    connect(ButtonHistoryRestore, &QPushButton::clicked, this, [this] {
        withChosen([this](std::uint32_t serial, const HistoryEntry& e) {
            if (m_browser.restore(serial, e))
                reload();
        });
    });
    connect(ButtonHistorySaveAs, &QPushButton::clicked, this, [this] {
        withChosen(
            [this](std::uint32_t serial, const HistoryEntry& e) { m_browser.saveAs(serial, e); });
    });
    connect(ButtonHistoryClose, &QPushButton::clicked, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(LabelHistorySerial);
    top->addWidget(ComboBoxHistorySerial);
    top->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ButtonHistoryCompare);
    buttons->addWidget(ButtonHistoryRestore);
    buttons->addWidget(ButtonHistorySaveAs);
    buttons->addStretch(1);
    buttons->addWidget(ButtonHistoryClose);
    auto* column = new QVBoxLayout(this);
    column->addLayout(top);
    column->addWidget(GridHistory, 1);
    column->addWidget(LabelHistoryNotes);
    column->addLayout(buttons);

    setTabOrder(ComboBoxHistorySerial, GridHistory);
    setTabOrder(GridHistory, ButtonHistoryCompare);
    setTabOrder(ButtonHistoryCompare, ButtonHistoryRestore);
    setTabOrder(ButtonHistoryRestore, ButtonHistorySaveAs);
    setTabOrder(ButtonHistorySaveAs, ButtonHistoryClose);

    reload();
}

void HistoryDialog::reload() {
    const std::optional<std::uint32_t> keep = chosenSerial();
    std::vector<std::uint32_t> serials = m_browser.serials();
    const std::optional<std::uint32_t> connected = m_browser.connectedSerial();
    if (connected && std::find(serials.begin(), serials.end(), *connected) == serials.end())
        serials.insert(serials.begin(), *connected);
    // The list is rebuilt without a refresh for every item on the way.
    {
        const QSignalBlocker quiet(ComboBoxHistorySerial);
        ComboBoxHistorySerial->clear();
        for (const std::uint32_t serial : serials)
            ComboBoxHistorySerial->addItem(QString::number(serial), QVariant::fromValue(serial));
        const std::optional<std::uint32_t> shown = keep ? keep : connected;
        const int at = shown ? ComboBoxHistorySerial->findData(QVariant::fromValue(*shown)) : -1;
        ComboBoxHistorySerial->setCurrentIndex(at >= 0 ? at : 0);
    }
    showEntries();
}

std::optional<std::uint32_t> HistoryDialog::chosenSerial() const {
    if (ComboBoxHistorySerial->currentIndex() < 0)
        return std::nullopt;
    return ComboBoxHistorySerial->currentData().value<std::uint32_t>();
}

void HistoryDialog::showEntries() {
    const std::optional<std::uint32_t> serial = chosenSerial();
    m_rows = serial ? m_browser.rows(*serial) : HistoryRows{};
    GridHistory->clearContents();
    GridHistory->setRowCount(static_cast<int>(m_rows.rows.size()));
    for (int r = 0; r < GridHistory->rowCount(); ++r) {
        const HistoryRow& row = m_rows.rows[static_cast<std::size_t>(r)];
        const std::array<QString, kHeadings.size()> cells{
            text(row.time), text(historyWhatText(m_texts, row.entry.what)), text(row.revisions),
            text(row.entry.programVersion), QString::number(row.differences)};
        for (int c = 0; c < static_cast<int>(cells.size()); ++c)
            GridHistory->setItem(r, c, new QTableWidgetItem(cells[static_cast<std::size_t>(c)]));
    }
    QStringList notes;
    if (!serial)
        notes << uiText(m_texts, WindowText::NoHistory);
    else if (m_rows.rows.empty())
        notes << uiText(m_texts, WindowText::NoEntries);
    for (const std::string& note : m_rows.notes)
        notes << text(note);
    LabelHistoryNotes->setText(notes.join(QLatin1Char('\n')));
    LabelHistoryNotes->setVisible(!notes.isEmpty());
    if (!m_rows.rows.empty())
        GridHistory->selectRow(0);
    updateButtons();
}

const HistoryRow* HistoryDialog::chosenRow() const {
    const int r = GridHistory->currentRow();
    const QList<QTableWidgetItem*> selected = GridHistory->selectedItems();
    if (selected.isEmpty() || r < 0 || r >= static_cast<int>(m_rows.rows.size()))
        return nullptr;
    return &m_rows.rows[static_cast<std::size_t>(r)];
}

void HistoryDialog::updateButtons() {
    const bool chosen = chosenRow() != nullptr;
    for (QPushButton* b : {ButtonHistoryCompare, ButtonHistoryRestore, ButtonHistorySaveAs})
        b->setEnabled(chosen);
}

void HistoryDialog::withChosen(
    const std::function<void(std::uint32_t, const HistoryEntry&)>& action) {
    const HistoryRow* row = chosenRow();
    const std::optional<std::uint32_t> serial = chosenSerial();
    if (row == nullptr || !serial)
        return;
    // A copy: the action may reload the list the row lives in.
    const HistoryEntry entry = row->entry;
    action(*serial, entry);
}

}  // namespace kaldor

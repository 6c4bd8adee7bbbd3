#include "ui/dialogs/difference_dialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <vector>

#include "ui/ui_build.h"
#include "ui/window_texts.h"

namespace kaldor {
namespace {

constexpr int kMinWidth = 620;
constexpr int kMinHeight = 420;

QTableWidget* differenceTable(QWidget* parent, const char* name) {
    auto* grid = named<QTableWidget>(parent, name, 0, 3);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    return grid;
}

void fill(QTableWidget* grid, const std::vector<Difference>& list, const std::string& other,
          const SetupTexts& texts) {
    grid->setHorizontalHeaderLabels({uiText(texts, WindowText::HeadingLocation),
                                     uiText(texts, WindowText::HeadingPc),
                                     QString::fromStdString(other)});
    grid->setRowCount(static_cast<int>(list.size()));
    for (int row = 0; row < grid->rowCount(); ++row) {
        const Difference& d = list[static_cast<std::size_t>(row)];
        const std::string* texts[] = {&d.name, &d.first, &d.second};
        for (int column = 0; column < 3; ++column)
            grid->setItem(row, column,
                          new QTableWidgetItem(QString::fromStdString(*texts[column])));
    }
}

}  // namespace

DifferenceDialog::DifferenceDialog(QWidget* parent, const SetupTexts& texts)
    : QDialog(parent), m_texts(texts) {
    setObjectName(QStringLiteral("DifferenceDialog"));
    setModal(true);
    setMinimumSize(kMinWidth, kMinHeight);

    LabelSummary = namedLabel(this, "LabelSummary", QString());
    LabelSummary->setWordWrap(true);
    LabelSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    GridDifferences = differenceTable(this, "GridDifferences");
    LabelEcuOwned = namedLabel(this, "LabelEcuOwned", uiText(m_texts, WindowText::KeptByEcu));
    GridEcuOwned = differenceTable(this, "GridEcuOwned");

    ButtonWritePc = named<QPushButton>(this, "ButtonWritePc", uiText(m_texts, WindowText::WritePc));
    ButtonTakeEcu = named<QPushButton>(this, "ButtonTakeEcu", uiText(m_texts, WindowText::TakeEcu));
    ButtonClose = named<QPushButton>(this, "ButtonClose", uiText(m_texts, WindowText::Close));
    // Enter closes; writing or taking is always a deliberate click.
    for (QPushButton* b : {ButtonWritePc, ButtonTakeEcu})
        b->setAutoDefault(false);
    ButtonClose->setDefault(true);
    connect(ButtonWritePc, &QPushButton::clicked, this,
            [this] { choose(DifferenceChoice::WritePcValues); });
    connect(ButtonTakeEcu, &QPushButton::clicked, this,
            [this] { choose(DifferenceChoice::TakeControllerValues); });
    connect(ButtonClose, &QPushButton::clicked, this, [this] { choose(DifferenceChoice::Close); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ButtonWritePc);
    buttons->addWidget(ButtonTakeEcu);
    buttons->addStretch(1);
    buttons->addWidget(ButtonClose);
    auto* column = new QVBoxLayout(this);
    column->addWidget(LabelSummary);
    column->addWidget(GridDifferences, 3);
    column->addWidget(LabelEcuOwned);
    column->addWidget(GridEcuOwned, 1);
    column->addLayout(buttons);
}

void DifferenceDialog::setView(const DifferenceView& view) {
    m_choice = DifferenceChoice::Close;
    setWindowTitle(QString::fromStdString(view.title));
    LabelSummary->setText(QString::fromStdString(view.summary));
    fill(GridDifferences, view.diff.entries, view.otherLabel, m_texts);
    fill(GridEcuOwned, view.diff.controllerOwned, view.otherLabel, m_texts);
    GridDifferences->setVisible(!view.diff.entries.empty());
    LabelEcuOwned->setVisible(!view.diff.controllerOwned.empty());
    GridEcuOwned->setVisible(!view.diff.controllerOwned.empty());
    // A file comparison offers neither: the buttons are not there at all, rather than greyed.
    ButtonWritePc->setVisible(view.canWrite);
    ButtonTakeEcu->setVisible(view.canTake);
}

void DifferenceDialog::choose(DifferenceChoice choice) {
    m_choice = choice;
    if (choice == DifferenceChoice::Close)
        reject();
    else
        accept();
}

DifferenceChoice DifferenceDialog::ask(QWidget* parent, const DifferenceView& view,
                                       const SetupTexts& texts) {
    DifferenceDialog dialog(parent, texts);
    dialog.setView(view);
    // Escape and the close box reject without a button: that is Close.
    return dialog.exec() == QDialog::Accepted ? dialog.choice() : DifferenceChoice::Close;
}

}  // namespace kaldor

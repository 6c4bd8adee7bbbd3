#include "ui/map_grid/map_grid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include <algorithm>
#include <climits>

#include "model/edit_history.h"
#include "model/prompts.h"
#include "ui/dialogs/text_entry_dialog.h"
#include "ui/edit_gate.h"
#include "ui/ui_build.h"

namespace kaldor {

namespace {

std::vector<MapGrid*>& allGrids() {
    static std::vector<MapGrid*> grids;
    return grids;
}

constexpr QAbstractItemView::EditTriggers kInPlaceTriggers =
    QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
    QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed;

QColor toQColor(Rgb c) {
    return {c.red, c.green, c.blue};
}

EntryMode entryMode(int index) {
    return index == 1 ? EntryMode::PlusMinus : index == 2 ? EntryMode::Percent : EntryMode::Abs;
}

}  // namespace

// Paints every cell as the model describes it and remembers the in-place editor it opened, so
// the grid can commit and close it when the editing is switched off.
class MapCellDelegate : public QStyledItemDelegate {
public:
    MapCellDelegate(MapGridModel& model, QObject* parent)
        : QStyledItemDelegate(parent), m_model(model) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        const bool selected = opt.state.testFlag(QStyle::State_Selected);
        const MapCellLook look = m_model.cellLook(index.column(), index.row(), selected);
        const QString text = QString::fromStdString(look.text);
        if (look.fill) {
            opt.backgroundBrush = toQColor(*look.fill);
            opt.state.setFlag(QStyle::State_Selected, false);
        }
        opt.text = look.drawText ? QString() : text;
        const QWidget* widget = opt.widget;
        QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
        if (look.drawText) {
            painter->save();
            painter->setFont(opt.font);
            painter->setPen(toQColor(look.textColour));
            painter->drawText(opt.rect.adjusted(1, look.textDown, 0, 0),
                              Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
            painter->restore();
        }
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        m_editor = editor;
        return editor;
    }

    // The view closes an editor itself when the current cell moves; one it has closed is hidden.
    void finishEditing() {
        if (m_editor == nullptr || m_editor->isHidden())
            return;
        QWidget* editor = m_editor;
        m_editor = nullptr;
        emit commitData(editor);
        emit closeEditor(editor);
    }

private:
    MapGridModel& m_model;
    mutable QPointer<QWidget> m_editor;
};

MapGrid::MapGrid(QTableWidget* grid, MapGridModel& model, EditGate& gate, Prompts& prompts,
                 QObject* parent)
    : QObject(parent), m_grid(grid), m_model(model), m_gate(gate), m_prompts(prompts) {
    m_grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_delegate = new MapCellDelegate(model, this);
    m_grid->setItemDelegate(m_delegate);

    GridTexts& texts = model.texts();
    for (int row = 0; row < m_grid->rowCount(); ++row) {
        for (int column = 0; column < m_grid->columnCount(); ++column) {
            const QString shown = cellText(m_grid, column, row);
            if (!shown.isEmpty() && texts.text(column, row).empty())
                texts.setText(column, row, shown.toStdString());
        }
    }
    texts.setListener([this](int column, int row) { showText(column, row); });
    styleCells(0);

    connect(m_grid, &QTableWidget::itemChanged, this,
            [this](QTableWidgetItem* item) { textEdited(item->column(), item->row()); });
    connect(m_grid, &QTableWidget::cellClicked, this, [this] { cellClicked(); });
    connect(m_grid, &QTableWidget::currentCellChanged, this,
            [this](int row, int column, int previousRow, int previousColumn) {
                if (isMapCell(column, row))
                    cellClicked();
                else
                    keepCurrentOnMapCell(previousColumn, previousRow);
            });
    keepCurrentOnMapCell();
    buildToolMenu();
    m_grid->installEventFilter(this);
    allGrids().push_back(this);
}

const std::vector<MapGrid*>& MapGrid::all() {
    return allGrids();
}

MapGrid::~MapGrid() {
    std::vector<MapGrid*>& grids = allGrids();
    grids.erase(std::remove(grids.begin(), grids.end(), this), grids.end());
    m_model.texts().setListener(nullptr);
}

bool MapGrid::isShown() const {
    return m_grid->isVisible();
}

void MapGrid::addStepButton(QAbstractButton* button, int step) {
    connect(button, &QAbstractButton::clicked, this, [this, step] { this->step(step); });
}

void MapGrid::setColumnCount(int columns) {
    const int before = m_grid->columnCount();
    if (columns == before || columns < 0)
        return;
    m_showing = true;
    m_grid->setColumnCount(columns);
    m_showing = false;
    if (columns > before)
        styleCells(before);
    keepCurrentOnMapCell();
}

void MapGrid::setFixedCells(int rows, int columns) {
    m_fixedRows = rows;
    m_fixedColumns = columns;
    styleCells(0);
    // Until the grid is first shown its owner is still laying it out: it starts on the first
    // map cell of the headings it ends up with.
    if (!m_shownOnce && isMapCell(m_fixedColumns, m_fixedRows))
        m_grid->setCurrentCell(m_fixedRows, m_fixedColumns);
    keepCurrentOnMapCell();
}

bool MapGrid::isMapCell(int column, int row) const {
    return column >= m_fixedColumns && row >= m_fixedRows && column < m_grid->columnCount() &&
           row < m_grid->rowCount();
}

void MapGrid::keepCurrentOnMapCell(int previousColumn, int previousRow) {
    int column = m_grid->currentColumn();
    int row = m_grid->currentRow();
    if (isMapCell(column, row) || !isMapCell(m_fixedColumns, m_fixedRows))
        return;
    if (isMapCell(previousColumn, previousRow)) {
        column = previousColumn;
        row = previousRow;
    } else {
        column = std::clamp(column, m_fixedColumns, m_grid->columnCount() - 1);
        row = std::clamp(row, m_fixedRows, m_grid->rowCount() - 1);
    }
    if (isMapCell(column, row))
        m_grid->setCurrentCell(row, column);
}

void MapGrid::setInPlaceEditing(bool on) {
    if (!on) {
        m_delegate->finishEditing();
        m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
        return;
    }
    m_grid->setEditTriggers(kInPlaceTriggers);
    QTableWidgetItem* item = m_grid->currentItem();
    if (item != nullptr && item->flags().testFlag(Qt::ItemIsEditable))
        m_grid->editItem(item);
}

std::optional<GridRect> MapGrid::selection() const {
    const QList<QTableWidgetSelectionRange> ranges = m_grid->selectedRanges();
    if (ranges.isEmpty()) {
        const int column = m_grid->currentColumn();
        const int row = m_grid->currentRow();
        if (!isMapCell(column, row))
            return std::nullopt;
        return GridRect{column, row, column, row};
    }
    GridRect r{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (const QTableWidgetSelectionRange& range : ranges) {
        r.left = std::min(r.left, range.leftColumn());
        r.top = std::min(r.top, range.topRow());
        r.right = std::max(r.right, range.rightColumn());
        r.bottom = std::max(r.bottom, range.bottomRow());
    }
    r.left = std::max(r.left, m_fixedColumns);
    r.top = std::max(r.top, m_fixedRows);
    if (r.left > r.right || r.top > r.bottom)
        return std::nullopt;
    return r;
}

void MapGrid::edit(const std::string& what, const std::function<MapEditOutcome()>& action) {
    m_gate.run(
        [this, &action] {
            const MapEditOutcome outcome = action();
            if (EditHistory* history = m_gate.editHistory())
                history->setCells(outcome.cellsWritten);
            report(outcome);
        },
        what);
}

void MapGrid::step(int step) {
    const std::optional<GridRect> selected = selection();
    if (!selected)
        return;
    const std::string what = step > 0   ? "+" + std::to_string(step)
                             : step < 0 ? std::to_string(step)
                                        : "send again";
    edit(what, [&] { return m_model.stepSelection(*selected, step); });
}

void MapGrid::typedEntry() {
    edit("typed entry", [this]() -> MapEditOutcome {
        if (m_dialog == nullptr || m_dialog->isVisible() || !m_model.takesTypedEntry())
            return {};
        const std::optional<GridRect> selected = selection();
        if (!selected)
            return {};
        const std::string prefill =
            m_model.entryPrefill(*selected, entryMode(m_dialog->modeIndex()));
        m_dialog->setText(QString::fromStdString(prefill));
        if (m_dialog->exec() != QDialog::Accepted)
            return {};
        return m_model.typedEntry(*selected, entryMode(m_dialog->modeIndex()),
                                  m_dialog->text().toStdString());
    });
}

void MapGrid::cellClicked() {
    const int column = m_grid->currentColumn();
    const int row = m_grid->currentRow();
    setInPlaceEditing(column >= 0 && row >= 0 && m_model.editableInPlace(column, row));
}

void MapGrid::repaintCell(int column, int row) {
    if (column >= 0 && row >= 0 && column < m_grid->columnCount() && row < m_grid->rowCount())
        m_grid->update(m_grid->model()->index(row, column));
}

void MapGrid::repaintColumn(int column) {
    for (int row = 0; row < m_grid->rowCount(); ++row)
        repaintCell(column, row);
}

void MapGrid::repaintAll() {
    m_grid->viewport()->update();
}

void MapGrid::showText(int column, int row) {
    QTableWidgetItem* item = m_grid->item(row, column);
    if (item == nullptr) {
        if (column < m_grid->columnCount() && row < m_grid->rowCount())
            styleCell(column, row);
        return;
    }
    m_showing = true;
    item->setText(QString::fromStdString(m_model.texts().text(column, row)));
    m_showing = false;
    emit textShown();
}

void MapGrid::styleCell(int column, int row) {
    m_showing = true;
    QTableWidgetItem* item = m_grid->item(row, column);
    if (item == nullptr) {
        item = new QTableWidgetItem;
        m_grid->setItem(row, column, item);
    }
    item->setText(QString::fromStdString(m_model.texts().text(column, row)));
    const bool heading = row < m_fixedRows || column < m_fixedColumns;
    Qt::ItemFlags flags = Qt::ItemIsEnabled;
    if (!heading)
        flags |= Qt::ItemIsSelectable;
    if (m_model.editableInPlace(column, row))
        flags |= Qt::ItemIsEditable;
    item->setFlags(flags);
    item->setBackground(heading ? m_grid->palette().brush(QPalette::Button) : QBrush());
    m_showing = false;
}

void MapGrid::styleCells(int fromColumn) {
    for (int row = 0; row < m_grid->rowCount(); ++row)
        for (int column = fromColumn; column < m_grid->columnCount(); ++column)
            styleCell(column, row);
}

void MapGrid::textEdited(int column, int row) {
    if (m_showing)
        return;
    if (const QTableWidgetItem* item = m_grid->item(row, column))
        m_model.texts().setText(column, row, item->text().toStdString());
}

void MapGrid::report(const MapEditOutcome& outcome) {
    if (!outcome.message.empty())
        m_prompts.message(outcome.message);
}

}  // namespace kaldor

// The log viewer's channel table and readout: a row per channel the recording has (its check box
// shows its trace), the value at the cursor, the minimum, maximum and mean over the visible range,
// and the cursor's and the visible range's times.
#include <QLabel>
#include <QTableWidget>

#include <algorithm>
#include <cmath>

#include "model/fixed_text.h"
#include "ui/log_viewer/log_viewer_window.h"
#include "ui/log_viewer/trace_view.h"
#include "ui/window_texts.h"

namespace kaldor {
namespace {

QString timeText(double seconds) {
    const auto tenths = static_cast<long long>(std::llround(seconds * 10));
    const long long s = tenths / 10;
    return QStringLiteral("%1:%2:%3.%4")
        .arg(s / 3600)
        .arg((s / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'))
        .arg(tenths % 10);
}

QString recordTime(std::size_t record) {
    return timeText(static_cast<double>(record) * Recording::kSecondsPerRecord);
}

// Sets a cell's text only when it changes, so a cursor step touches only what moved.
void setCell(QTableWidget* table, int row, int column, const QString& text) {
    QTableWidgetItem* item = table->item(row, column);
    if (item->text() != text)
        item->setText(text);
}

}  // namespace

int LogViewerWindow::rowOf(LiveSignal id) const {
    if (!m_view)
        return -1;
    const auto& available = m_view->available();
    const auto it = std::find(available.begin(), available.end(), id);
    return it == available.end() ? -1 : static_cast<int>(it - available.begin());
}

void LogViewerWindow::fillTable() {
    m_filling = true;
    const auto& available = m_view->available();
    m_table->setRowCount(static_cast<int>(available.size()));
    for (int row = 0; row < static_cast<int>(available.size()); ++row) {
        const LiveSignalDef& d = liveSignalDef(available[static_cast<std::size_t>(row)]);
        for (int column = 0; column < m_table->columnCount(); ++column)
            if (m_table->item(row, column) == nullptr)
                m_table->setItem(row, column, new QTableWidgetItem);
        QTableWidgetItem* name = m_table->item(row, ChannelColumn);
        name->setText(channelName(m_language, d.id));
        name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        name->setCheckState(m_view->shown(d.id) ? Qt::Checked : Qt::Unchecked);
        m_table->item(row, UnitColumn)->setText(QString::fromUtf8(d.unit));
    }
    m_table->resizeColumnToContents(ChannelColumn);
    m_filling = false;
}

void LogViewerWindow::showCursor() {
    if (!m_view)
        return;
    const std::size_t cursor = m_view->cursor();
    m_cursorLabel->setText(text(WindowText::Cursor)
                               .arg(recordTime(cursor))
                               .arg(cursor + 1)
                               .arg(m_view->recording().size()));
    const auto& available = m_view->available();
    for (int row = 0; row < static_cast<int>(available.size()); ++row)
        setCell(
            m_table, row, ValueColumn,
            QString::fromStdString(m_view->text(available[static_cast<std::size_t>(row)], cursor)));
    m_traces->update();
}

void LogViewerWindow::showStatistics() {
    if (!m_view)
        return;
    m_rangeLabel->setText(text(WindowText::VisibleRange)
                              .arg(recordTime(m_view->visibleFirst()))
                              .arg(recordTime(m_view->visibleLast())));
    const auto& available = m_view->available();
    for (int row = 0; row < static_cast<int>(available.size()); ++row) {
        const LiveSignal id = available[static_cast<std::size_t>(row)];
        QString minimum, maximum, mean;
        if (m_view->shown(id)) {
            const ChannelStatistics s = m_view->statistics(id);
            const int decimals = liveSignalDef(id).decimals;
            minimum = QString::fromStdString(fixedText(s.minimum, decimals));
            maximum = QString::fromStdString(fixedText(s.maximum, decimals));
            // The mean lies between the records: one decimal more than they show.
            mean = QString::fromStdString(fixedText(s.mean, decimals + 1));
        }
        setCell(m_table, row, MinimumColumn, minimum);
        setCell(m_table, row, MaximumColumn, maximum);
        setCell(m_table, row, MeanColumn, mean);
        QTableWidgetItem* name = m_table->item(row, ChannelColumn);
        const QColor colour = m_view->shown(id) ? m_traces->colourOf(id) : QColor();
        if (name->data(Qt::DecorationRole).value<QColor>() != colour) {
            m_filling = true;
            name->setData(Qt::DecorationRole, colour.isValid() ? QVariant(colour) : QVariant());
            m_filling = false;
        }
    }
}

void LogViewerWindow::channelToggled(int row) {
    if (m_filling || !m_view || row < 0)
        return;
    const LiveSignal id = m_view->available()[static_cast<std::size_t>(row)];
    const bool checked = m_table->item(row, ChannelColumn)->checkState() == Qt::Checked;
    if (checked == m_view->shown(id))
        return;
    m_view->setShown(id, checked);
    m_traces->tracesChanged();
    showStatistics();
}

}  // namespace kaldor

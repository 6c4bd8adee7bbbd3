#include "ui/pages/dna/mapping_chart_view.h"

#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

#include "model/fields.h"
#include "ui/map_grid/grid_headers.h"
#include "ui/session.h"

namespace kaldor {

MappingChartView::MappingChartView(QWidget* box)
    : QObject(box), m_box(box), m_chart(localeDecimalPoint()), m_bitmap(box->font()) {
    // The bitmap covers the whole box: nothing beneath it needs painting first.
    m_box->setAttribute(Qt::WA_OpaquePaintEvent);
    m_box->installEventFilter(this);
}

void MappingChartView::attach(ControllerSession& session) {
    m_session = &session;
    session.live.add(LiveStage::Display,
                     [this](const LiveRecord& record) { showRecord(record.frame); });
}

void MappingChartView::showRecord(const LiveFrame& frame) {
    if (!m_box->isVisible())
        return;
    // ComboBoxTpsType shows TpsType as its item: the chart reads the field, not the other page.
    const auto tpsType = static_cast<int>(readField(m_session->image, FieldId::TpsType));
    m_bitmap.paint(m_chart.draw(m_box->width(), m_box->height(), m_session->block, frame, tpsType));
    m_box->update();
}

bool MappingChartView::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_box || event->type() != QEvent::Paint)
        return QObject::eventFilter(watched, event);
    QPainter painter(m_box);
    m_bitmap.copyTo(painter, static_cast<QPaintEvent*>(event)->rect(), m_box->size(), kScopeWhite);
    return true;
}

}  // namespace kaldor

#include "ui/log_viewer/trace_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

#include "ui/window_texts.h"
#include "widgets/instrument_accessibility.h"

namespace kaldor {
namespace {

constexpr int kDragThreshold = 4;
constexpr double kWheelStep = 0.8;  // records per column after one notch towards the user
constexpr int kWheelNotch = 120;

}  // namespace

TraceView::TraceView(QWidget* parent) : QWidget(parent) {
    // A chart the program draws: read as one, also in the viewer started on its own.
    instrument_accessibility::install();
    instrument_accessibility::setRole(this, QAccessible::Chart);
    setObjectName(QStringLiteral("PaintBoxLog"));
    setAccessibleName(QStringLiteral("traces"));
    setAccessibleDescription(
        QStringLiteral("The chosen channels over time. Plus and minus zoom, the arrow keys pan "
                       "or move the cursor, Home and End go to the ends, F shows the whole "
                       "drive."));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(kScaleWidth + 200, 200);
}

void TraceView::setView(LogView* view) {
    m_view = view;
    syncWidth();
    tracesChanged();
}

void TraceView::setTexts(const SetupTexts* texts, const StatusTexts* status) {
    m_language = texts;
    m_status = status;
    tracesChanged();
}

const SetupTexts& TraceView::language() const {
    static const SetupTexts kEnglish;
    return m_language ? *m_language : kEnglish;
}

void TraceView::tracesChanged() {
    m_pictureStale = true;
    update();
}

void TraceView::syncWidth() {
    if (m_view != nullptr)
        m_view->setWidth(static_cast<std::size_t>(std::max(1, width() - kScaleWidth)));
}

void TraceView::moved(bool cursorToo) {
    // The picture is painted again only when the view moved; a cursor step reuses it.
    update();
    emit viewMoved();
    if (cursorToo)
        emit cursorMoved();
}

void TraceView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    syncWidth();
    m_pictureStale = true;
}

void TraceView::paintEvent(QPaintEvent*) {
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    const bool viewMoved = m_view != nullptr && (m_view->first() != m_paintedFirst ||
                                                 m_view->recordsPerColumn() != m_paintedPerColumn);
    if (m_pictureStale || viewMoved || m_picture.size() != pixels) {
        m_picture = QImage(pixels, QImage::Format_RGB32);
        m_picture.setDevicePixelRatio(ratio);
        QPainter p(&m_picture);
        renderTraces(p, size());
        m_pictureStale = false;
        if (m_view != nullptr) {
            m_paintedFirst = m_view->first();
            m_paintedPerColumn = m_view->recordsPerColumn();
        }
    }
    QPainter painter(this);
    painter.drawImage(0, 0, m_picture);
    if (m_view == nullptr)
        return;
    const double x = m_view->columnOf(static_cast<double>(m_view->cursor()) + 0.5);
    if (x >= 0 && x < width() - kScaleWidth) {
        painter.setPen(QPen(Qt::red, 1));
        const int cx = kScaleWidth + static_cast<int>(x);
        painter.drawLine(cx, 0, cx, height() - kAxisHeight);
    }
    if (hasFocus()) {
        painter.setPen(QPen(palette().highlight().color(), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    if (!m_painted && !m_view->lanes().empty()) {
        m_painted = true;
        emit firstPainted();
    }
}

void TraceView::keyPressEvent(QKeyEvent* event) {
    if (m_view == nullptr) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            m_view->zoomIn();
            moved(false);
            return;
        case Qt::Key_Minus:
            m_view->zoomOut();
            moved(false);
            return;
        case Qt::Key_Left:
            m_view->stepLeft();
            moved(true);
            return;
        case Qt::Key_Right:
            m_view->stepRight();
            moved(true);
            return;
        case Qt::Key_Home:
            m_view->home();
            moved(true);
            return;
        case Qt::Key_End:
            m_view->end();
            moved(true);
            return;
        case Qt::Key_F:
            m_view->fit();
            moved(false);
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

void TraceView::wheelEvent(QWheelEvent* event) {
    if (m_view == nullptr)
        return;
    const double notches = event->angleDelta().y() / static_cast<double>(kWheelNotch);
    if (notches == 0)
        return;
    m_view->zoom(std::pow(kWheelStep, notches), event->position().x() - kScaleWidth);
    moved(false);
    event->accept();
}

void TraceView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    m_pressX = static_cast<int>(event->position().x());
    m_lastX = m_pressX;
    m_dragging = false;
}

void TraceView::mouseMoveEvent(QMouseEvent* event) {
    if (m_view == nullptr || m_pressX < 0 || !(event->buttons() & Qt::LeftButton))
        return;
    const int x = static_cast<int>(event->position().x());
    if (!m_dragging && std::abs(x - m_pressX) < kDragThreshold)
        return;
    m_dragging = true;
    m_view->panColumns(m_lastX - x);
    m_lastX = x;
    moved(false);
}

void TraceView::mouseReleaseEvent(QMouseEvent* event) {
    if (m_view == nullptr || event->button() != Qt::LeftButton || m_pressX < 0)
        return;
    if (!m_dragging && m_pressX >= kScaleWidth) {
        m_view->setCursor(m_view->recordAt(m_pressX - kScaleWidth));
        update();
        emit cursorMoved();
    }
    m_pressX = -1;
    m_dragging = false;
}

}  // namespace kaldor

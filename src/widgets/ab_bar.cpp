#include "widgets/ab_bar.h"

#include "widgets/instrument_accessibility.h"
#include "widgets/number_format.h"
#include "widgets/widget_paint.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int kDivisions = 10;
constexpr qreal kPad = 2.0;
constexpr QColor kTrackColour{232, 232, 232};
constexpr QColor kFrameColour{110, 110, 110};
constexpr QColor kDivisionColour{0, 0, 0, 45};

}  // namespace

AbBar::AbBar(QWidget* parent)
    : QWidget(parent),
      m_warningAbove(std::numeric_limits<double>::infinity()),
      m_warningBelow(-std::numeric_limits<double>::infinity()) {
    // The layers are painted on the window colour, so nothing under the bar needs repainting
    // when its value moves: a live update repaints the bar alone.
    setAttribute(Qt::WA_OpaquePaintEvent);
    refreshShown(true);
}

void AbBar::setValue(double value) {
    if (std::isnan(value) || value == m_value) {
        return;
    }
    m_value = value;
    refreshShown(false);
}

void AbBar::setMinimum(double minimum) {
    setRange(minimum, m_maximum);
}

void AbBar::setMaximum(double maximum) {
    setRange(m_minimum, maximum);
}

void AbBar::setRange(double minimum, double maximum) {
    if (std::isnan(minimum) || std::isnan(maximum) ||
        (minimum == m_minimum && maximum == m_maximum)) {
        return;
    }
    m_minimum = minimum;
    m_maximum = maximum;
    lookChanged();
}

void AbBar::setFormat(const QString& format) {
    if (format == m_format) {
        return;
    }
    m_format = format;
    lookChanged();
}

void AbBar::setUnitText(const QString& unitText) {
    if (unitText == m_unitText) {
        return;
    }
    m_unitText = unitText;
    lookChanged();
}

void AbBar::setCaption(const QString& caption) {
    if (caption == m_caption) {
        return;
    }
    m_caption = caption;
    updateGeometry();
    lookChanged();
}

void AbBar::setOrientation(Qt::Orientation orientation) {
    if (orientation == m_orientation) {
        return;
    }
    m_orientation = orientation;
    updateGeometry();
    lookChanged();
}

void AbBar::setBarColor(const QColor& colour) {
    m_barColor = colour;
    lookChanged();
}

void AbBar::setWarningColor(const QColor& colour) {
    m_warningColor = colour;
    lookChanged();
}

void AbBar::setWarningAbove(double threshold) {
    m_warningAbove = std::isnan(threshold) ? std::numeric_limits<double>::infinity() : threshold;
    update();
}

void AbBar::setWarningBelow(double threshold) {
    m_warningBelow = std::isnan(threshold) ? -std::numeric_limits<double>::infinity() : threshold;
    update();
}

bool AbBar::isWarning() const {
    return m_shownValue > m_warningAbove || m_shownValue < m_warningBelow;
}

// Runs on every reading, so it only repaints when something visible changed: the text, the
// filled length in pixels or the warning colour.
void AbBar::refreshShown(bool force) {
    const widget_paint::Range range = widget_paint::orderedRange(m_minimum, m_maximum);
    const double shown = std::clamp(m_value, range.lower, range.upper);
    const bool wasWarning = isWarning();
    const double oldShown = m_shownValue;
    m_shownValue = shown;
    if (!force && shown == oldShown) {
        return;
    }
    QString text = formatNumber(shown, m_format) + m_unitText;
    const int pixels = fillPixels(shown);
    const bool textChanged = text != m_valueText;
    const bool changed =
        force || textChanged || pixels != m_fillPixels || wasWarning != isWarning();
    m_valueText = std::move(text);
    if (textChanged)
        instrument_accessibility::valueShown(this);
    m_fillPixels = pixels;
    if (changed) {
        update();
    }
}

int AbBar::fillPixels(double shown) const {
    const widget_paint::Range range = widget_paint::orderedRange(m_minimum, m_maximum);
    const QRect track = m_layout.track.toAlignedRect();
    const int length = m_orientation == Qt::Vertical ? track.height() : track.width();
    return static_cast<int>(std::lround(widget_paint::rangeFraction(shown, range) * length));
}

AbBar::Layout AbBar::computeLayout() const {
    Layout layout;
    const QRectF area = QRectF(rect()).adjusted(kPad, kPad, -kPad, -kPad);
    if (area.width() <= 0 || area.height() <= 0) {
        return layout;
    }
    const widget_paint::Range range = widget_paint::orderedRange(m_minimum, m_maximum);
    const QString widest = [&] {
        const QString low = formatNumber(range.lower, m_format) + m_unitText;
        const QString high = formatNumber(range.upper, m_format) + m_unitText;
        return low.size() > high.size() ? low : high;
    }();

    if (m_orientation == Qt::Vertical) {
        qreal px = std::min(area.width() / 4.0, area.height() / 9.0);
        // Shrink until the widest value text fits the width.
        const QFontMetricsF metrics(widget_paint::scaledFont(font(), px));
        const qreal needed = metrics.horizontalAdvance(widest);
        if (needed > area.width() && needed > 0) {
            px = px * area.width() / needed;
        }
        layout.fontPixels = std::max(widget_paint::kMinFontPixels, px);
        const qreal row = layout.fontPixels * 1.35;
        qreal top = area.top();
        if (!m_caption.isEmpty()) {
            layout.caption = QRectF(area.left(), top, area.width(), row);
            top += row;
        }
        layout.text = QRectF(area.left(), area.bottom() - row, area.width(), row);
        const qreal trackWidth = std::clamp(area.width() * 0.5, std::min(6.0, area.width()),
                                            std::max(6.0, area.width() * 0.5));
        const qreal trackHeight = std::max(0.0, layout.text.top() - top - kPad);
        layout.track =
            QRectF(area.center().x() - trackWidth / 2.0, top + kPad / 2.0, trackWidth, trackHeight);
    } else {
        const qreal rowShare = m_caption.isEmpty() ? 0.7 : 0.4;
        qreal px = std::max(widget_paint::kMinFontPixels, area.height() * rowShare / 1.2);
        px = std::min(px, area.width() / 8.0);
        layout.fontPixels = std::max(widget_paint::kMinFontPixels, px);
        const QFontMetricsF metrics(widget_paint::scaledFont(font(), layout.fontPixels));
        const qreal textWidth =
            std::min(area.width() * 0.5, metrics.horizontalAdvance(widest) + 2.0 * kPad);
        qreal top = area.top();
        if (!m_caption.isEmpty()) {
            const qreal row = layout.fontPixels * 1.35;
            layout.caption = QRectF(area.left(), top, area.width(), row);
            top += row;
        }
        const qreal trackHeight = std::max(0.0, area.bottom() - top);
        layout.text = QRectF(area.right() - textWidth, top, textWidth, trackHeight);
        layout.track =
            QRectF(area.left(), top, std::max(0.0, area.width() - textWidth - kPad), trackHeight);
    }
    return layout;
}

void AbBar::lookChanged() {
    m_layout = computeLayout();
    m_layersValid = false;
    refreshShown(true);
}

void AbBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_layout = computeLayout();
    m_layersValid = false;
    m_fillPixels = fillPixels(m_shownValue);
}

void AbBar::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange) {
        lookChanged();
    }
}

QSize AbBar::sizeHint() const {
    return m_orientation == Qt::Vertical ? QSize(48, 160)
                                         : QSize(180, m_caption.isEmpty() ? 22 : 36);
}

QSize AbBar::minimumSizeHint() const {
    return m_orientation == Qt::Vertical ? QSize(24, 60) : QSize(60, m_caption.isEmpty() ? 12 : 24);
}

QPixmap AbBar::renderLayer(const QColor* fill) const {
    const qreal ratio = devicePixelRatioF();
    QPixmap layer(size() * ratio);
    layer.setDevicePixelRatio(ratio);
    layer.fill(palette().color(QPalette::Window));
    const Layout& layout = m_layout;
    QPainter painter(&layer);
    painter.setRenderHint(QPainter::Antialiasing, true);

    if (!layout.track.isEmpty()) {
        if (fill != nullptr) {
            const bool vertical = m_orientation == Qt::Vertical;
            QLinearGradient gradient(layout.track.topLeft(), vertical ? layout.track.topRight()
                                                                      : layout.track.bottomLeft());
            gradient.setColorAt(0.0, fill->darker(115));
            gradient.setColorAt(0.45, fill->lighter(125));
            gradient.setColorAt(1.0, fill->darker(125));
            painter.fillRect(layout.track, gradient);
        } else {
            painter.fillRect(layout.track, kTrackColour);
        }
        painter.setPen(QPen(kDivisionColour, 1.0));
        for (int i = 1; i < kDivisions; ++i) {
            const qreal f = static_cast<qreal>(i) / kDivisions;
            if (m_orientation == Qt::Vertical) {
                const qreal y = layout.track.bottom() - layout.track.height() * f;
                const qreal inset = (i == kDivisions / 2) ? 0.0 : layout.track.width() * 0.3;
                painter.drawLine(QPointF(layout.track.left() + inset, y),
                                 QPointF(layout.track.right() - inset, y));
            } else {
                const qreal x = layout.track.left() + layout.track.width() * f;
                const qreal inset = (i == kDivisions / 2) ? 0.0 : layout.track.height() * 0.3;
                painter.drawLine(QPointF(x, layout.track.top() + inset),
                                 QPointF(x, layout.track.bottom() - inset));
            }
        }
        painter.setPen(QPen(kFrameColour, 1.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(layout.track);
    }

    if (!m_caption.isEmpty() && !layout.caption.isEmpty()) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.setFont(widget_paint::scaledFont(font(), layout.fontPixels));
        const QString caption = painter.fontMetrics().elidedText(
            m_caption, Qt::ElideRight, static_cast<int>(layout.caption.width()));
        painter.drawText(layout.caption, Qt::AlignCenter, caption);
    }
    return layer;
}

void AbBar::paintEvent(QPaintEvent*) {
    const Layout& layout = m_layout;
    if (layout.track.isEmpty() && layout.text.isEmpty()) {
        return;
    }
    if (!m_layersValid) {
        m_emptyLayer = renderLayer(nullptr);
        m_fullLayer = renderLayer(&m_barColor);
        m_warningLayer = renderLayer(&m_warningColor);
        m_layersValid = true;
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_emptyLayer);

    // The filled part of the track comes from the full layer; the frame stays that of the
    // empty one so the bar's end is drawn at whole pixels.
    QRect filled = layout.track.toAlignedRect();
    if (m_orientation == Qt::Vertical) {
        filled.setTop(filled.bottom() + 1 - m_fillPixels);
    } else {
        filled.setWidth(m_fillPixels);
    }
    if (!filled.isEmpty()) {
        const QPixmap& full = isWarning() ? m_warningLayer : m_fullLayer;
        const qreal ratio = full.devicePixelRatio();
        const QRectF source(filled.x() * ratio, filled.y() * ratio, filled.width() * ratio,
                            filled.height() * ratio);
        painter.drawPixmap(QRectF(filled), full, source);
    }

    painter.setPen(palette().color(QPalette::WindowText));
    painter.setFont(widget_paint::scaledFont(font(), layout.fontPixels, true));
    const Qt::Alignment textAlign =
        m_orientation == Qt::Vertical ? Qt::AlignCenter : (Qt::AlignRight | Qt::AlignVCenter);
    painter.drawText(layout.text, textAlign, m_valueText);
}

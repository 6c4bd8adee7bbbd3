#include "widgets/ab_meter.h"

#include "widgets/instrument_accessibility.h"
#include "widgets/number_format.h"
#include "widgets/widget_paint.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

namespace {

constexpr qreal kPad = 2.0;
constexpr double kPi = 3.14159265358979323846;
constexpr QColor kFaceColour{250, 250, 246};
constexpr QColor kRimColour{70, 70, 70};
constexpr QColor kScaleColour{30, 30, 30};
constexpr QColor kReadoutBack{28, 30, 32};
constexpr QColor kReadoutText{235, 240, 235};

// Proportions of the dial, as fractions of its radius.
constexpr qreal kTickOuter = 0.92;
constexpr qreal kMajorInner = 0.79;
constexpr qreal kMinorInner = 0.86;
constexpr qreal kLabelRadius = 0.66;
constexpr qreal kNeedleLength = 0.86;
constexpr qreal kNeedleTail = 0.14;
constexpr qreal kNeedleHalfWidth = 0.035;
constexpr qreal kPivotRadius = 0.075;
// Below the pivot of a half-circle meter, the face goes on this far to hold the readout.
constexpr qreal kHalfFaceBelow = 0.38;
// Arc length per label the scale asks for, in pixels, so labels never crowd.
constexpr qreal kPixelsPerLabel = 30.0;

QPointF polar(const QPointF& centre, qreal radius, double degrees) {
    const double radians = degrees * kPi / 180.0;
    return {centre.x() + radius * std::cos(radians), centre.y() - radius * std::sin(radians)};
}

}  // namespace

AbRoundMeter::AbRoundMeter(double sweepDegrees, QWidget* parent)
    : QWidget(parent), m_sweep(sweepDegrees) {
    // The cached dial is painted on the window colour, so a moving needle repaints the meter
    // alone, and the dial is copied rather than blended.
    setAttribute(Qt::WA_OpaquePaintEvent);
    refreshShown(true);
}

Ab180Meter::Ab180Meter(QWidget* parent) : AbRoundMeter(180.0, parent) {}

Ab270Meter::Ab270Meter(QWidget* parent) : AbRoundMeter(270.0, parent) {}

void AbRoundMeter::setValue(double value) {
    if (std::isnan(value) || value == m_value) {
        return;
    }
    m_value = value;
    refreshShown(false);
}

void AbRoundMeter::setMinimum(double minimum) {
    setRange(minimum, m_maximum);
}

void AbRoundMeter::setMaximum(double maximum) {
    setRange(m_minimum, maximum);
}

void AbRoundMeter::setRange(double minimum, double maximum) {
    if (std::isnan(minimum) || std::isnan(maximum) ||
        (minimum == m_minimum && maximum == m_maximum)) {
        return;
    }
    m_minimum = minimum;
    m_maximum = maximum;
    dialChanged();
}

void AbRoundMeter::setFormat(const QString& format) {
    if (format == m_format) {
        return;
    }
    m_format = format;
    dialChanged();
}

void AbRoundMeter::setUnitText(const QString& unitText) {
    if (unitText == m_unitText) {
        return;
    }
    m_unitText = unitText;
    dialChanged();
}

void AbRoundMeter::setCaption(const QString& caption) {
    if (caption == m_caption) {
        return;
    }
    m_caption = caption;
    dialChanged();
}

void AbRoundMeter::setNeedleColor(const QColor& colour) {
    m_needleColor = colour;
    update();
}

void AbRoundMeter::dialChanged() {
    m_dialValid = false;
    m_geometry = computeGeometry();
    refreshShown(true);
}

double AbRoundMeter::angleFor(double shown) const {
    const widget_paint::Range range = widget_paint::orderedRange(m_minimum, m_maximum);
    const double start = 90.0 + m_sweep / 2.0;
    return start - widget_paint::rangeFraction(shown, range) * m_sweep;
}

double AbRoundMeter::needleAngle() const {
    return angleFor(m_shownValue);
}

// The needle's tip position in half pixels: a reading that does not move the tip visibly and
// does not change the readout causes no repaint.
long AbRoundMeter::needleStepFor(double shown) const {
    const double tipRadius = m_geometry.radius * kNeedleLength;
    return std::lround(angleFor(shown) * kPi / 180.0 * tipRadius * 2.0);
}

void AbRoundMeter::refreshShown(bool force) {
    const widget_paint::Range range = widget_paint::orderedRange(m_minimum, m_maximum);
    const double shown = std::clamp(m_value, range.lower, range.upper);
    const double oldShown = m_shownValue;
    m_shownValue = shown;
    if (!force && shown == oldShown) {
        return;
    }
    QString text = formatNumber(shown, m_format);
    const long step = needleStepFor(shown);
    const bool textChanged = text != m_valueText;
    const bool changed = force || textChanged || step != m_needleStep;
    m_valueText = std::move(text);
    if (textChanged)
        instrument_accessibility::valueShown(this);
    m_needleStep = step;
    if (changed) {
        update();
    }
}

AbRoundMeter::Geometry AbRoundMeter::computeGeometry() const {
    Geometry geometry;
    const QRectF area = QRectF(rect()).adjusted(kPad, kPad, -kPad, -kPad);
    if (area.width() <= 0 || area.height() <= 0) {
        return geometry;
    }
    qreal readoutTop = 0;
    qreal readoutBottom = 0;
    if (m_sweep <= 180.0) {
        const qreal heightNeeded = 1.0 + kHalfFaceBelow;
        geometry.radius = std::min(area.width() / 2.0, area.height() / heightNeeded);
        const qreal top = area.top() + (area.height() - geometry.radius * heightNeeded) / 2.0;
        geometry.centre = QPointF(area.center().x(), top + geometry.radius);
        readoutTop = 0.08;
        readoutBottom = 0.34;
    } else {
        geometry.radius = std::min(area.width(), area.height()) / 2.0;
        geometry.centre = area.center();
        readoutTop = 0.46;
        readoutBottom = 0.74;
    }
    const qreal r = geometry.radius;
    geometry.fontPixels = std::max(widget_paint::kMinFontPixels, r * 0.13);

    // The readout is as wide as its widest possible text needs.
    const widget_paint::Range range = widget_paint::orderedRange(m_minimum, m_maximum);
    const QString low = formatNumber(range.lower, m_format);
    const QString high = formatNumber(range.upper, m_format);
    const QString widest = (low.size() > high.size() ? low : high) + QStringLiteral("0");
    const qreal readoutHeight = r * (readoutBottom - readoutTop);
    const QFontMetricsF metrics(widget_paint::scaledFont(
        font(), std::max(widget_paint::kMinFontPixels, readoutHeight * 0.75), true));
    const qreal readoutWidth = std::min(r * 1.3, metrics.horizontalAdvance(widest) + 6.0);
    geometry.readout = QRectF(geometry.centre.x() - readoutWidth / 2.0,
                              geometry.centre.y() + r * readoutTop, readoutWidth, readoutHeight);
    return geometry;
}

void AbRoundMeter::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_dialValid = false;
    m_geometry = computeGeometry();
    m_needleStep = needleStepFor(m_shownValue);
}

void AbRoundMeter::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange) {
        dialChanged();
    }
}

QSize AbRoundMeter::sizeHint() const {
    return m_sweep <= 180.0 ? QSize(180, 130) : QSize(170, 170);
}

QSize AbRoundMeter::minimumSizeHint() const {
    return m_sweep <= 180.0 ? QSize(60, 44) : QSize(60, 60);
}

void AbRoundMeter::renderDial() {
    const qreal ratio = devicePixelRatioF();
    m_dial = QPixmap(size() * ratio);
    m_dial.setDevicePixelRatio(ratio);
    m_dial.fill(palette().color(QPalette::Window));
    m_dialValid = true;
    const Geometry& g = m_geometry;
    const qreal r = g.radius;
    if (r < 4.0) {
        return;
    }
    QPainter painter(&m_dial);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    // Face and rim.
    const QRectF circle(g.centre.x() - r, g.centre.y() - r, 2 * r, 2 * r);
    QPainterPath face;
    if (m_sweep <= 180.0) {
        face.moveTo(g.centre.x() - r, g.centre.y() + r * kHalfFaceBelow);
        face.lineTo(g.centre.x() - r, g.centre.y());
        face.arcTo(circle, 180.0, -180.0);
        face.lineTo(g.centre.x() + r, g.centre.y() + r * kHalfFaceBelow);
        face.closeSubpath();
    } else {
        face.addEllipse(circle);
    }
    QRadialGradient shade(g.centre, r * 1.2);
    shade.setColorAt(0.0, kFaceColour);
    shade.setColorAt(1.0, kFaceColour.darker(112));
    painter.setPen(QPen(kRimColour, std::max(1.0, r * 0.03)));
    painter.setBrush(shade);
    painter.drawPath(face);

    // Scale.
    const widget_paint::Range range = widget_paint::orderedRange(m_minimum, m_maximum);
    const qreal arcLength = r * kLabelRadius * m_sweep * kPi / 180.0;
    const int targetDivisions =
        std::clamp(static_cast<int>(arcLength / kPixelsPerLabel), 2, m_sweep <= 180.0 ? 5 : 6);
    const widget_paint::Scale scale = widget_paint::niceScale(range, targetDivisions);
    const double start = 90.0 + m_sweep / 2.0;
    painter.setPen(QPen(kScaleColour, std::max(1.0, r * 0.012)));
    painter.setBrush(Qt::NoBrush);
    const QRectF tickArc(g.centre.x() - r * kTickOuter, g.centre.y() - r * kTickOuter,
                         2 * r * kTickOuter, 2 * r * kTickOuter);
    painter.drawArc(tickArc, static_cast<int>((start - m_sweep) * 16),
                    static_cast<int>(m_sweep * 16));

    const QPen majorPen(kScaleColour, std::max(1.0, r * 0.025), Qt::SolidLine, Qt::FlatCap);
    const QPen minorPen(kScaleColour, std::max(0.8, r * 0.012), Qt::SolidLine, Qt::FlatCap);
    const double minorStep = scale.step / scale.minorDivisions;
    for (std::size_t i = 0; i < scale.majors.size(); ++i) {
        const double major = scale.majors[i];
        painter.setPen(majorPen);
        const double a = angleFor(major);
        painter.drawLine(polar(g.centre, r * kMajorInner, a), polar(g.centre, r * kTickOuter, a));
        // Minor ticks after this major (and before the first), as far as the range goes.
        painter.setPen(minorPen);
        for (int m = 1; m < scale.minorDivisions; ++m) {
            for (const double v : {major + m * minorStep, i == 0 ? major - m * minorStep : NAN}) {
                if (std::isnan(v) || v < range.lower - minorStep * 1e-6 ||
                    v > range.upper + minorStep * 1e-6) {
                    continue;
                }
                const double b = angleFor(v);
                painter.drawLine(polar(g.centre, r * kMinorInner, b),
                                 polar(g.centre, r * kTickOuter, b));
            }
        }
    }

    painter.setPen(kScaleColour);
    const QFont labelFont = widget_paint::scaledFont(font(), g.fontPixels);
    painter.setFont(labelFont);
    const QFontMetricsF labelMetrics(labelFont);
    for (const double major : scale.majors) {
        const QString label = formatNumber(major, scale.labelPattern);
        const QPointF at = polar(g.centre, r * kLabelRadius, angleFor(major));
        const qreal w = labelMetrics.horizontalAdvance(label) + 2;
        const qreal h = labelMetrics.height();
        painter.drawText(QRectF(at.x() - w / 2, at.y() - h / 2, w, h), Qt::AlignCenter, label);
    }

    // Caption above the pivot. The unit text goes between pivot and readout on a 270 degree
    // dial, and beside the readout on a half circle, where the needle would cover it.
    const bool half = m_sweep <= 180.0;
    if (!m_caption.isEmpty()) {
        // A long caption gets a smaller font before it gets cut. On a half circle the caption
        // sits low in the dial, where the chord is wide.
        const qreal width = r * (half ? 1.6 : 1.1);
        qreal pixels = r * 0.1;
        const qreal needed = QFontMetricsF(widget_paint::scaledFont(font(), pixels, true))
                                 .horizontalAdvance(m_caption);
        if (needed > width) {
            pixels = std::max(pixels * 0.6, pixels * width / needed);
        }
        const QFont captionFont = widget_paint::scaledFont(font(), pixels, true);
        painter.setFont(captionFont);
        const qreal h = QFontMetricsF(captionFont).height();
        const qreal y = g.centre.y() - r * (half ? 0.3 : 0.36);
        const QRectF box(g.centre.x() - width / 2, y - h / 2, width, h);
        painter.drawText(
            box, Qt::AlignCenter,
            QFontMetricsF(captionFont).elidedText(m_caption, Qt::ElideRight, box.width()));
    }
    if (!m_unitText.isEmpty()) {
        const QFont unitFont =
            widget_paint::scaledFont(font(), std::max(widget_paint::kMinFontPixels, r * 0.1));
        painter.setFont(unitFont);
        const QFontMetricsF unitMetrics(unitFont);
        const qreal h = unitMetrics.height();
        QRectF box;
        Qt::Alignment align = Qt::AlignCenter;
        if (half) {
            const qreal left = g.readout.right() + r * 0.05;
            box = QRectF(left, g.readout.center().y() - h / 2, g.centre.x() + r * 0.95 - left, h);
            align = Qt::AlignLeft | Qt::AlignVCenter;
        } else {
            box = QRectF(g.centre.x() - r * 0.55, g.centre.y() + r * 0.27 - h / 2, r * 1.1, h);
        }
        painter.drawText(box, align,
                         unitMetrics.elidedText(m_unitText, Qt::ElideRight, box.width()));
    }

    // Readout frame.
    if (!g.readout.isEmpty()) {
        painter.setPen(QPen(kRimColour, 1.0));
        painter.setBrush(kReadoutBack);
        painter.drawRoundedRect(g.readout, r * 0.03, r * 0.03);
    }
}

void AbRoundMeter::paintEvent(QPaintEvent*) {
    if (!m_dialValid) {
        renderDial();
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_dial);
    const Geometry& g = m_geometry;
    const qreal r = g.radius;
    if (r < 4.0) {
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing, true);

    if (!g.readout.isEmpty()) {
        painter.setPen(kReadoutText);
        painter.setFont(widget_paint::scaledFont(
            font(), std::max(widget_paint::kMinFontPixels, g.readout.height() * 0.75), true));
        painter.drawText(g.readout, Qt::AlignCenter, m_valueText);
    }

    painter.save();
    painter.translate(g.centre);
    painter.rotate(-needleAngle());
    const QPointF needle[] = {
        {-r * kNeedleTail, -r * kNeedleHalfWidth * 1.4},
        {r * kNeedleLength, -r * kNeedleHalfWidth * 0.3},
        {r * kNeedleLength, r * kNeedleHalfWidth * 0.3},
        {-r * kNeedleTail, r * kNeedleHalfWidth * 1.4},
    };
    painter.setPen(QPen(m_needleColor.darker(140), std::max(0.8, r * 0.008)));
    painter.setBrush(m_needleColor);
    painter.drawPolygon(needle, 4);
    painter.restore();

    painter.setPen(QPen(kRimColour, 1.0));
    painter.setBrush(QColor(60, 60, 60));
    painter.drawEllipse(g.centre, r * kPivotRadius, r * kPivotRadius);
}

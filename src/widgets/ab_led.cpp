#include "widgets/ab_led.h"

#include "widgets/instrument_accessibility.h"
#include "widgets/widget_paint.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

namespace {

// Half of a 2 Hz blink period.
constexpr int kDefaultBlinkMs = 250;
constexpr int kMinBlinkMs = 10;
constexpr qreal kPad = 1.0;

// The pixel size of a caption beside a lamp drawn in an area of this height.
qreal captionPixels(qreal areaHeight) {
    return std::max(widget_paint::kMinFontPixels,
                    std::min(areaHeight * 0.6, 14.0 + areaHeight * 0.2));
}

}  // namespace

AbLED::AbLED(QWidget* parent) : QWidget(parent) {
    // Paints its whole rectangle, so a lamp that changes repaints nothing beneath it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_blink.setInterval(kDefaultBlinkMs);
    connect(&m_blink, &QTimer::timeout, this, &AbLED::toggleBlinkPhase);
}

void AbLED::setStatus(int status) {
    status = status != 0 ? 1 : 0;
    if (status == m_status) {
        return;
    }
    m_status = status;
    updateBlink();
    update();
    instrument_accessibility::valueShown(this);
}

void AbLED::setFlashing(bool flashing) {
    if (flashing == m_flashing) {
        return;
    }
    m_flashing = flashing;
    updateBlink();
    update();
}

void AbLED::setChecked(bool checked) {
    if (checked == m_checked) {
        return;
    }
    m_checked = checked;
    updateBlink();
    update();
    instrument_accessibility::valueShown(this);
}

void AbLED::setCaption(const QString& caption) {
    if (caption == m_caption) {
        return;
    }
    m_caption = caption;
    updateGeometry();
    update();
    instrument_accessibility::valueShown(this);
}

void AbLED::setColor(const QColor& colour) {
    if (colour == m_color) {
        return;
    }
    m_color = colour;
    update();
}

void AbLED::setCaptionBelow(bool below) {
    if (below == m_captionBelow) {
        return;
    }
    m_captionBelow = below;
    updateGeometry();
    update();
}

void AbLED::setBlinkInterval(int milliseconds) {
    m_blink.setInterval(std::max(kMinBlinkMs, milliseconds));
}

bool AbLED::isLitShown() const {
    return isLit() && (!m_blink.isActive() || m_blinkBright);
}

// Each blink starts bright, so a lamp that starts flashing is seen at once.
void AbLED::updateBlink() {
    const bool wanted = m_flashing && isLit();
    if (wanted && !m_blink.isActive()) {
        m_blinkBright = true;
        m_blink.start();
    } else if (!wanted && m_blink.isActive()) {
        m_blink.stop();
        m_blinkBright = true;
    }
}

void AbLED::toggleBlinkPhase() {
    m_blinkBright = !m_blinkBright;
    update();
}

QSize AbLED::sizeHint() const {
    if (m_caption.isEmpty()) {
        return {18, 18};
    }
    const QFontMetrics metrics(font());
    if (m_captionBelow) {
        return {std::max(18, metrics.horizontalAdvance(m_caption) + 4), 18 + metrics.height() + 2};
    }
    // Wide enough for the caption in the size it is drawn at this height (see parts()).
    const int height = std::max(18, metrics.height() + 2);
    const qreal area = height - 2 * kPad;
    const QFontMetrics drawn(widget_paint::scaledFont(font(), captionPixels(area)), this);
    const qreal width = 2 * kPad + area * 1.3 + 2 + drawn.horizontalAdvance(m_caption) + 1;
    return {static_cast<int>(std::ceil(width)), height};
}

QSize AbLED::minimumSizeHint() const {
    return {8, 8};
}

void AbLED::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_pressed = true;
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void AbLED::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_pressed) {
        m_pressed = false;
        if (rect().contains(event->position().toPoint())) {
            emit clicked();
        }
        event->accept();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

AbLED::LampLayout AbLED::parts() const {
    LampLayout p;
    p.area = QRectF(rect()).adjusted(kPad, kPad, -kPad, -kPad);
    const QRectF& area = p.area;
    if (area.width() <= 0 || area.height() <= 0)
        return p;
    // The lamp takes the height (beside) or a share of it (below); the caption the rest.
    if (m_caption.isEmpty()) {
        p.diameter = std::min(area.width(), area.height());
        p.lamp = QRectF(area.center().x() - p.diameter / 2, area.center().y() - p.diameter / 2,
                        p.diameter, p.diameter);
    } else if (m_captionBelow) {
        p.fontPixels = std::max(widget_paint::kMinFontPixels, area.height() * 0.3);
        const qreal textHeight = p.fontPixels * 1.3;
        p.diameter = std::max(0.0, std::min(area.width(), area.height() - textHeight));
        p.lamp = QRectF(area.center().x() - p.diameter / 2, area.top(), p.diameter, p.diameter);
        p.text =
            QRectF(area.left(), p.lamp.bottom(), area.width(), area.bottom() - p.lamp.bottom());
    } else {
        p.diameter = std::min(area.height(), area.width() * 0.4);
        p.lamp = QRectF(area.left(), area.center().y() - p.diameter / 2, p.diameter, p.diameter);
        p.fontPixels = captionPixels(area.height());
        p.text = QRectF(p.lamp.right() + p.diameter * 0.3 + 2, area.top(),
                        area.right() - p.lamp.right() - p.diameter * 0.3 - 2, area.height());
    }
    return p;
}

bool AbLED::captionFits() const {
    const LampLayout p = parts();
    if (m_caption.isEmpty())
        return true;
    // As the painter decides to cut a caption short.
    const QFontMetrics metrics(widget_paint::scaledFont(font(), p.fontPixels), this);
    return p.text.width() > 0 &&
           metrics.horizontalAdvance(m_caption) <= static_cast<int>(p.text.width());
}

void AbLED::paintEvent(QPaintEvent*) {
    const LampLayout p = parts();
    const QRectF& area = p.area;
    if (area.width() <= 0 || area.height() <= 0) {
        QPainter(this).fillRect(rect(), palette().color(QPalette::Window));
        return;
    }
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.setRenderHint(QPainter::Antialiasing, true);
    const qreal diameter = p.diameter;
    const QRectF& lampArea = p.lamp;
    const QRectF& textArea = p.text;
    const qreal fontPixels = p.fontPixels;

    if (diameter > 1.0) {
        const bool lit = isLitShown();
        const QColor face = lit ? m_color : m_color.darker(380);
        QRadialGradient gradient(lampArea.center() - QPointF(diameter * 0.15, diameter * 0.15),
                                 diameter * 0.6);
        gradient.setColorAt(0.0, lit ? face.lighter(160) : face.lighter(130));
        gradient.setColorAt(1.0, face);
        painter.setPen(QPen(QColor(60, 60, 60), std::max(1.0, diameter * 0.06)));
        painter.setBrush(gradient);
        const qreal inset = std::max(0.5, diameter * 0.03);
        painter.drawEllipse(lampArea.adjusted(inset, inset, -inset, -inset));
    }

    if (!m_caption.isEmpty() && textArea.width() > 0 && textArea.height() > 0) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.setFont(widget_paint::scaledFont(font(), fontPixels));
        const QString text = painter.fontMetrics().elidedText(m_caption, Qt::ElideRight,
                                                              static_cast<int>(textArea.width()));
        const Qt::Alignment align =
            m_captionBelow ? Qt::AlignHCenter | Qt::AlignTop : Qt::AlignLeft | Qt::AlignVCenter;
        painter.drawText(textArea, align, text);
    }
}

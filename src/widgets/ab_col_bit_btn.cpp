#include "widgets/ab_col_bit_btn.h"

#include "widgets/widget_paint.h"

#include <QFontMetrics>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

namespace {

constexpr qreal kCornerShare = 0.18;
constexpr int kMinHeight = 16;
// Text height as a share of the button's height.
constexpr qreal kTextShare = 0.45;

}  // namespace

AbColBitBtn::AbColBitBtn(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setCheckable(true);
}

void AbColBitBtn::setState(bool on) {
    if (on == state()) {
        return;
    }
    {
        // The program's change: no toggled(). Assistive technology still hears of it.
        const QSignalBlocker quiet(this);
        setChecked(on);
    }
    // The accessible name follows what is shown.
    QAbstractButton::setText(shownText());
    update();
}

void AbColBitBtn::setTextOn(const QString& text) {
    if (text == m_textOn) {
        return;
    }
    m_textOn = text;
    textsChanged();
}

void AbColBitBtn::setTextOff(const QString& text) {
    if (text == m_textOff) {
        return;
    }
    m_textOff = text;
    textsChanged();
}

void AbColBitBtn::setColorOn(const QColor& colour) {
    m_colorOn = colour;
    update();
}

void AbColBitBtn::setColorOff(const QColor& colour) {
    m_colorOff = colour;
    update();
}

void AbColBitBtn::textsChanged() {
    QAbstractButton::setText(shownText());
    updateGeometry();
    update();
}

QSize AbColBitBtn::sizeHint() const {
    const QFontMetrics metrics(font());
    const int height = std::max(kMinHeight, metrics.height() + 10);
    // Measured in the font the texts are drawn in at that height.
    const QFontMetrics drawn(
        widget_paint::scaledFont(font(), (height - 1) * kTextShare, font().bold()), this);
    const int textWidth =
        std::max(drawn.horizontalAdvance(m_textOn), drawn.horizontalAdvance(m_textOff));
    return {std::max(40, textWidth + 2 * metrics.averageCharWidth() + 8), height};
}

QSize AbColBitBtn::minimumSizeHint() const {
    return {24, kMinHeight};
}

QRectF AbColBitBtn::face() const {
    return QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
}

QFont AbColBitBtn::textFont() const {
    return widget_paint::scaledFont(font(), face().height() * kTextShare, font().bold() || state());
}

QRectF AbColBitBtn::textArea(const QRectF& face) {
    return face.adjusted(4, 1, -4, -1);
}

bool AbColBitBtn::fits(const QString& text) const {
    // As the painter decides to cut a text short.
    return QFontMetrics(textFont(), this).horizontalAdvance(text) <=
           static_cast<int>(textArea(face()).width());
}

void AbColBitBtn::paintEvent(QPaintEvent*) {
    const QRectF area = face();
    if (area.width() <= 1 || area.height() <= 1) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);

    QColor colour = shownColor();
    if (!isEnabled()) {
        colour = colour.lighter(130);
        colour.setAlpha(150);
    } else if (isDown()) {
        colour = colour.darker(125);
    }
    const qreal corner = std::min(area.height(), area.width()) * kCornerShare;
    QLinearGradient gradient(area.topLeft(), area.bottomLeft());
    gradient.setColorAt(0.0, colour.lighter(isDown() ? 100 : 118));
    gradient.setColorAt(1.0, colour.darker(isDown() ? 100 : 112));
    const qreal frame = state() ? 2.0 : 1.0;
    painter.setPen(QPen(colour.darker(state() ? 260 : 170), frame));
    painter.setBrush(gradient);
    const qreal frameInset = (frame - 1.0) / 2.0;
    painter.drawRoundedRect(area.adjusted(frameInset, frameInset, -frameInset, -frameInset), corner,
                            corner);

    if (hasFocus()) {
        painter.setPen(QPen(widget_paint::textColourOn(colour), 1.0, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        const qreal inset = std::max(2.0, corner * 0.6);
        painter.drawRoundedRect(area.adjusted(inset, inset, -inset, -inset), corner * 0.5,
                                corner * 0.5);
    }

    painter.setFont(textFont());
    painter.setPen(isEnabled() ? widget_paint::textColourOn(colour) : QColor(120, 120, 120));
    const QRectF textRect = textArea(area);
    const QPointF shift = isDown() ? QPointF(1, 1) : QPointF(0, 0);
    const QString text = painter.fontMetrics().elidedText(shownText(), Qt::ElideRight,
                                                          static_cast<int>(textRect.width()));
    painter.drawText(textRect.translated(shift), Qt::AlignCenter, text);
}

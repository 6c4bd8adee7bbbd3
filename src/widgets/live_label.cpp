#include "widgets/live_label.h"

#include <QPainter>

LiveLabel::LiveLabel(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void LiveLabel::setText(const QString& text) {
    if (text == m_text)
        return;
    m_text = text;
    update();
}

void LiveLabel::setSizingText(const QString& text) {
    m_sizingText = text;
    updateGeometry();
}

void LiveLabel::setAlignment(Qt::Alignment alignment) {
    m_alignment = alignment;
    update();
}

QSize LiveLabel::sizeHint() const {
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(m_sizingText) + 4, metrics.height() + 2};
}

QSize LiveLabel::minimumSizeHint() const {
    return {0, QFontMetrics(font()).height() + 2};
}

void LiveLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect().adjusted(2, 0, -2, 0), static_cast<int>(m_alignment), m_text);
}

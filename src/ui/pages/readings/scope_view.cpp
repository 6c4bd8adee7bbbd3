#include "ui/pages/readings/scope_view.h"

#include "live/live_sinks.h"
#include "ui/session.h"

#include <QBrush>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace kaldor {

namespace {

QColor qColour(ScopeColour c) {
    return QColor(c.red, c.green, c.blue);
}

QPen penFor(const ScopeStep& step) {
    QPen pen(qColour(step.colour));
    pen.setWidth(step.penWidth);
    pen.setStyle(step.pen == ScopePen::Dotted ? Qt::DotLine : Qt::SolidLine);
    return pen;
}

QBrush brushFor(const ScopeStep& step) {
    if (step.brush == ScopeBrush::DiagonalCross)
        return QBrush(qColour(step.colour), Qt::DiagCrossPattern);
    return Qt::NoBrush;
}

}  // namespace

PictureBitmap::PictureBitmap(const QFont& font) : m_font(font) {}

void PictureBitmap::paint(const ScopePicture& picture) {
    const QSize size(std::max(picture.width, 1), std::max(picture.height, 1));
    if (m_image.size() != size)
        m_image = QImage(size, QImage::Format_RGB32);
    m_image.fill(qColour(picture.background));
    QPainter painter(&m_image);
    for (const ScopeStep& step : picture.steps) {
        switch (step.kind) {
            case ScopeStep::Kind::Line:
                if (isDottedHairline(step)) {
                    // Qt's dash stroker costs more than the rest of a chart: the dots of the
                    // grids go straight into the bitmap, as the traces do.
                    painter.end();
                    paintDottedHairline(step);
                    painter.begin(&m_image);
                    break;
                }
                painter.setPen(penFor(step));
                painter.drawLine(step.from.x, step.from.y, step.to.x, step.to.y);
                break;
            case ScopeStep::Kind::Polyline:
                // The trace's pixels go straight into the bitmap, which the painter must not
                // hold meanwhile.
                painter.end();
                paintTrace(step);
                painter.begin(&m_image);
                break;
            case ScopeStep::Kind::Rectangle:
            case ScopeStep::Kind::Ellipse: {
                painter.setPen(penFor(step));
                painter.setBrush(step.fill ? QBrush(qColour(*step.fill)) : brushFor(step));
                const QRect box(step.from.x, step.from.y, step.to.x - step.from.x,
                                step.to.y - step.from.y);
                if (step.kind == ScopeStep::Kind::Ellipse)
                    painter.drawEllipse(box);
                else
                    painter.drawRect(box);
                painter.setBrush(Qt::NoBrush);
                break;
            }
            case ScopeStep::Kind::Text:
                paintText(painter, step);
                break;
        }
    }
}

void PictureBitmap::paintText(QPainter& painter, const ScopeStep& step) {
    if (step.fontSize > 0 && m_font.pointSize() != step.fontSize)
        m_font.setPointSize(step.fontSize);
    painter.setFont(m_font);
    // The same labels come back with every picture: each is laid out once.
    const QString text = QString::fromStdString(step.text);
    const QString key = QString::number(m_font.pointSize()) + QLatin1Char('|') + text;
    auto found = m_texts.find(key);
    if (found == m_texts.end()) {
        if (m_texts.size() >= kTextCacheLimit)
            m_texts.clear();
        QStaticText laidOut(text);
        laidOut.setTextFormat(Qt::PlainText);
        laidOut.prepare(QTransform(), m_font);
        found = m_texts.insert(key, laidOut);
    }
    // The text's top-left corner sits on the point.
    const QPointF at(step.from.x, step.from.y);
    if (step.textBackground)
        painter.fillRect(QRectF(at, found->size()), qColour(*step.textBackground));
    painter.setPen(penFor(step));
    painter.drawStaticText(at, *found);
}

bool PictureBitmap::isDottedHairline(const ScopeStep& step) {
    return step.pen == ScopePen::Dotted && step.penWidth <= 1 &&
           (step.from.x == step.to.x || step.from.y == step.to.y);
}

void PictureBitmap::paintDottedHairline(const ScopeStep& step) {
    // Qt's dot pattern: one pixel set, two left, from the line's start to its end.
    constexpr int kDotPeriod = 3;
    const auto colour = static_cast<QRgb>(0xFF000000u | qColour(step.colour).rgb());
    const bool vertical = step.from.x == step.to.x;
    const int fixed = vertical ? step.from.x : step.from.y;
    if (fixed < 0 || fixed >= (vertical ? m_image.width() : m_image.height()))
        return;
    const int start = vertical ? step.from.y : step.from.x;
    const int end = vertical ? step.to.y : step.to.x;
    const int direction = end >= start ? 1 : -1;
    const int limit = (vertical ? m_image.height() : m_image.width()) - 1;
    uchar* const bits = m_image.bits();
    const qsizetype stride = m_image.bytesPerLine();
    for (int i = 0, at = start; i <= std::abs(end - start); ++i, at += direction) {
        if (i % kDotPeriod != 0 || at < 0 || at > limit)
            continue;
        const int x = vertical ? fixed : at;
        const int y = vertical ? at : fixed;
        reinterpret_cast<QRgb*>(bits + y * stride)[x] = colour;
    }
}

void PictureBitmap::paintTrace(const ScopeStep& step) {
    // A wide pen costs Qt's stroker several times what the rest of the picture costs, so the
    // trace is set pixel by pixel: each segment one pixel per row (steep) or per column, and
    // `penWidth` pixels across it. Rows and columns outside the bitmap are skipped, so a point
    // far off the box (an old sample against a smaller new range) costs nothing.
    const auto colour = static_cast<QRgb>(0xFF000000u | qColour(step.colour).rgb());
    const int w = m_image.width();
    const int h = m_image.height();
    uchar* const bits = m_image.bits();
    const qsizetype stride = m_image.bytesPerLine();
    const int across = std::max(step.penWidth, 1);
    const int first = -(across / 2);
    auto plot = [&](int x, int y) {
        if (x >= 0 && x < w && y >= 0 && y < h)
            reinterpret_cast<QRgb*>(bits + y * stride)[x] = colour;
    };
    auto segment = [&](ScopePoint a, ScopePoint b) {
        const double dx = static_cast<double>(b.x) - a.x;
        const double dy = static_cast<double>(b.y) - a.y;
        if (std::abs(dy) > std::abs(dx)) {
            const int from = std::max(std::min(a.y, b.y), 0);
            const int to = std::min(std::max(a.y, b.y), h - 1);
            for (int y = from; y <= to; ++y) {
                const int x = static_cast<int>(std::lround(a.x + (y - a.y) * dx / dy));
                for (int k = first; k < first + across; ++k)
                    plot(x + k, y);
            }
            return;
        }
        const int from = std::max(std::min(a.x, b.x), 0);
        const int to = std::min(std::max(a.x, b.x), w - 1);
        for (int x = from; x <= to; ++x) {
            const double y = dx != 0 ? a.y + (x - a.x) * dy / dx : a.y;
            const int row = static_cast<int>(std::lround(std::clamp(y, -2.0 * across, h + 2.0)));
            for (int k = first; k < first + across; ++k)
                plot(x, row + k);
        }
    };
    if (step.pointCount == 1)
        segment(step.points[0], step.points[0]);
    for (std::size_t i = 1; i < step.pointCount; ++i)
        segment(step.points[i - 1], step.points[i]);
}

void PictureBitmap::copyTo(QPainter& painter, const QRect& exposed, const QSize& widgetSize,
                           ScopeColour background) const {
    const QColor fill = qColour(background);
    if (m_image.isNull()) {
        painter.fillRect(exposed, fill);
        return;
    }
    painter.drawImage(0, 0, m_image);
    if (m_image.width() < widgetSize.width())
        painter.fillRect(m_image.width(), 0, widgetSize.width() - m_image.width(),
                         widgetSize.height(), fill);
    if (m_image.height() < widgetSize.height())
        painter.fillRect(0, m_image.height(), widgetSize.width(),
                         widgetSize.height() - m_image.height(), fill);
}

ScopeBox::ScopeBox(QWidget* parent) : QWidget(parent), m_bitmap(font()) {
    // The bitmap covers the whole box: nothing beneath it needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ScopeBox::showPicture(const ScopePicture& picture) {
    m_bitmap.paint(picture);
    update();
}

void ScopeBox::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    m_bitmap.copyTo(painter, event->rect(), size(), OSCYLOSKOP::kBackground);
}

Oscilloscope::Oscilloscope(QWidget* page, ScopeBox* box, const Selectors& selectors)
    : m_page(page), m_box(box), m_selectors(selectors) {
    for (std::size_t i = 0; i < m_selectors.size(); ++i) {
        QComboBox* selector = m_selectors[i];
        Q_ASSERT(selector->objectName() == QLatin1String(kScopeChannels[i].selector));
        const QColor colour = qColour(kScopeChannels[i].colour);
        for (const ScopeQuantity& quantity : kScopeQuantities) {
            selector->addItem(QString::fromLatin1(quantity.item));
            selector->setItemData(selector->count() - 1, colour, Qt::ForegroundRole);
        }
        QPalette palette = selector->palette();
        for (QPalette::ColorRole role :
             {QPalette::ButtonText, QPalette::Text, QPalette::WindowText})
            palette.setColor(role, colour);
        selector->setPalette(palette);
        selector->setCurrentIndex(0);
    }
}

void Oscilloscope::attach(ControllerSession& session) {
    session.live.add(LiveStage::Scope, [this](const LiveRecord& record) { showRecord(record); });
}

void Oscilloscope::showRecord(const LiveRecord& record) {
    // Another page on show: the history waits and resumes where it stopped.
    if (!m_page->isVisible())
        return;
    const OSCYLOSKOP::Items items = selectedItems();
    m_recorder.Feed(items, focusedChannel(), OSCYLOSKOP::valuesOf(items, record));
    m_box->showPicture(m_recorder.Draw(m_box->width(), m_box->height()));
}

std::array<int, OSCYLOSKOP::kChannels> Oscilloscope::selectedItems() const {
    std::array<int, OSCYLOSKOP::kChannels> items{};
    for (std::size_t i = 0; i < items.size(); ++i)
        items[i] = m_selectors[i]->currentIndex();
    return items;
}

void Oscilloscope::selectItems(const std::array<int, OSCYLOSKOP::kChannels>& items) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        const int item = items[i];
        m_selectors[i]->setCurrentIndex(item >= 0 && item < m_selectors[i]->count() ? item : -1);
    }
}

int Oscilloscope::focusedChannel() const {
    for (std::size_t i = 0; i < m_selectors.size(); ++i)
        if (m_selectors[i]->hasFocus())
            return static_cast<int>(i);
    return -1;
}

}  // namespace kaldor

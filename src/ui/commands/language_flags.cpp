#include "ui/commands/language_flags.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <array>
#include <initializer_list>

namespace kaldor {
namespace {

// Painted at twice the menu's icon size, so they stay sharp on a high-density screen too.
constexpr int kWidth = 32;
constexpr int kHeight = 22;

// The extras some flags carry on top of their stripes.
enum class Mark : std::uint8_t {
    None,
    UnionCrosses,  // English: the crosses of the Union Flag on blue
    CzechWedge,    // a blue triangle from the hoist
    GreekCanton,   // a white cross on a blue square in the upper hoist
    PortugalDisc,  // the yellow sphere where green meets red
};

struct Stripe {
    QRgb colour;
    int weight;  // relative size among the flag's stripes
};

struct FlagDef {
    std::uint8_t code;
    bool vertical;  // stripes from hoist to fly instead of top to bottom
    std::array<Stripe, 9> stripes;
    int stripeCount;
    Mark mark;
};

constexpr QRgb kWhite = 0xffffffff;
constexpr QRgb kRed = 0xffd52b1e;
constexpr QRgb kBlue = 0xff0039a6;
constexpr QRgb kGreen = 0xff008c45;
constexpr QRgb kNavy = 0xff012169;
constexpr QRgb kGreekBlue = 0xff0d5eaf;

constexpr std::array<FlagDef, 13> kFlags = {{
    {1, false, {{{kNavy, 1}}}, 1, Mark::UnionCrosses},
    {2, false, {{{kWhite, 1}, {0xffdc143c, 1}}}, 2, Mark::None},
    {3, false, {{{kWhite, 1}, {kBlue, 1}, {kRed, 1}}}, 3, Mark::None},
    {4, true, {{{kGreen, 1}, {0xfff4f5f0, 1}, {0xffcd212a, 1}}}, 3, Mark::None},
    {5, false, {{{0xfffdb913, 1}, {0xff006a44, 1}, {0xffc1272d, 1}}}, 3, Mark::None},
    {6, false, {{{0xff000000, 1}, {0xffdd0000, 1}, {0xffffce00, 1}}}, 3, Mark::None},
    {9, false, {{{0xffaa151b, 1}, {0xfff1bf00, 2}, {0xffaa151b, 1}}}, 3, Mark::None},
    {10, false, {{{0xffcd2a3e, 1}, {kWhite, 1}, {0xff436f4d, 1}}}, 3, Mark::None},
    {11, false, {{{kWhite, 1}, {0xffd7141a, 1}}}, 2, Mark::CzechWedge},
    {12,
     false,
     {{{kGreekBlue, 1},
       {kWhite, 1},
       {kGreekBlue, 1},
       {kWhite, 1},
       {kGreekBlue, 1},
       {kWhite, 1},
       {kGreekBlue, 1},
       {kWhite, 1},
       {kGreekBlue, 1}}},
     9,
     Mark::GreekCanton},
    {14,
     false,
     {{{0xffa51931, 1}, {0xfff4f5f8, 1}, {0xff2d2a4a, 2}, {0xfff4f5f8, 1}, {0xffa51931, 1}}},
     5,
     Mark::None},
    {15, true, {{{0xff006600, 2}, {0xffff0000, 3}}}, 2, Mark::PortugalDisc},
    {16, false, {{{0xffae1c28, 1}, {kWhite, 1}, {0xff21468b, 1}}}, 3, Mark::None},
}};

void paintStripes(QPainter& p, const FlagDef& flag) {
    int total = 0;
    for (int i = 0; i < flag.stripeCount; ++i)
        total += flag.stripes[i].weight;
    const int length = flag.vertical ? kWidth : kHeight;
    int done = 0;
    for (int i = 0; i < flag.stripeCount; ++i) {
        // Edges rounded from the running total, so the stripes always fill the flag exactly.
        const int from = done * length / total;
        done += flag.stripes[i].weight;
        const int to = done * length / total;
        const QRect band =
            flag.vertical ? QRect(from, 0, to - from, kHeight) : QRect(0, from, kWidth, to - from);
        p.fillRect(band, QColor::fromRgb(flag.stripes[i].colour));
    }
}

void line(QPainter& p, QRgb colour, qreal width, QPointF from, QPointF to) {
    p.setPen(QPen(QColor::fromRgb(colour), width, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(from, to);
}

void paintUnionCrosses(QPainter& p) {
    const QPointF topLeft(0, 0), topRight(kWidth, 0), bottomLeft(0, kHeight);
    const QPointF bottomRight(kWidth, kHeight);
    for (const auto& [from, to] :
         {std::pair{topLeft, bottomRight}, std::pair{bottomLeft, topRight}})
        line(p, kWhite, 5, from, to);
    for (const auto& [from, to] :
         {std::pair{topLeft, bottomRight}, std::pair{bottomLeft, topRight}})
        line(p, 0xffc8102e, 1.6, from, to);
    const QPointF midTop(kWidth / 2.0, 0), midBottom(kWidth / 2.0, kHeight);
    const QPointF midLeft(0, kHeight / 2.0), midRight(kWidth, kHeight / 2.0);
    line(p, kWhite, 7, midTop, midBottom);
    line(p, kWhite, 7, midLeft, midRight);
    line(p, 0xffc8102e, 4, midTop, midBottom);
    line(p, 0xffc8102e, 4, midLeft, midRight);
}

void paintMark(QPainter& p, Mark mark) {
    switch (mark) {
        case Mark::UnionCrosses:
            paintUnionCrosses(p);
            break;
        case Mark::CzechWedge: {
            QPainterPath wedge;
            wedge.moveTo(0, 0);
            wedge.lineTo(kWidth / 2.0, kHeight / 2.0);
            wedge.lineTo(0, kHeight);
            wedge.closeSubpath();
            p.fillPath(wedge, QColor::fromRgb(0xff11457e));
            break;
        }
        case Mark::GreekCanton: {
            // The canton covers the first five stripes.
            const int side = 5 * kHeight / 9;
            p.fillRect(QRect(0, 0, side, side), QColor::fromRgb(kGreekBlue));
            const int bar = kHeight / 9;
            p.fillRect(QRect(0, (side - bar) / 2, side, bar), Qt::white);
            p.fillRect(QRect((side - bar) / 2, 0, bar, side), Qt::white);
            break;
        }
        case Mark::PortugalDisc:
            p.setPen(Qt::NoPen);
            p.setBrush(QColor::fromRgb(0xffffe900));
            p.drawEllipse(QPointF(2 * kWidth / 5.0, kHeight / 2.0), kHeight / 4.0, kHeight / 4.0);
            break;
        case Mark::None:
            break;
    }
}

}  // namespace

QIcon languageFlag(std::uint8_t code) {
    for (const FlagDef& flag : kFlags) {
        if (flag.code != code)
            continue;
        QPixmap picture(kWidth, kHeight);
        picture.fill(Qt::white);
        QPainter p(&picture);
        p.setRenderHint(QPainter::Antialiasing);
        paintStripes(p, flag);
        paintMark(p, flag.mark);
        // A thin grey edge keeps the white stripes apart from a white menu.
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QColor(0x80, 0x80, 0x80));
        p.setBrush(Qt::NoBrush);
        p.drawRect(0, 0, kWidth - 1, kHeight - 1);
        p.end();
        return QIcon(picture);
    }
    return {};
}

}  // namespace kaldor

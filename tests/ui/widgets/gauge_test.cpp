// Bar gauges and round meters: what they show for values in and out of range, that the value
// text reaches the screen, and that no size or range makes them fail to paint.
#include "widgets/ab_bar.h"
#include "widgets/ab_meter.h"

#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <utility>

namespace {

// Pixels whose grey level differs clearly: the anti-aliasing of a needle moved by a fraction of
// a pixel does not count, a changed glyph does.
int clearlyDifferentPixels(const QImage& a, const QImage& b) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y))) > 60;
    return n;
}

// The value is kept as set; the bar and its text show it clamped to the range.
TEST(AbBar, ShowsValueClampedToRange) {
    AbBar bar;
    bar.setRange(0, 5);
    bar.setFormat("##0.0");
    bar.setUnitText("V");
    bar.setValue(7.3);
    EXPECT_DOUBLE_EQ(bar.value(), 7.3);
    EXPECT_DOUBLE_EQ(bar.shownValue(), 5.0);
    EXPECT_EQ(bar.valueText(), "5.0V");
    bar.setValue(-1);
    EXPECT_EQ(bar.valueText(), "0.0V");

    // Widening the range later shows the kept value.
    bar.setValue(7.3);
    bar.setMaximum(10);
    EXPECT_EQ(bar.valueText(), "7.3V");

    bar.setValue(std::nan(""));
    EXPECT_DOUBLE_EQ(bar.value(), 7.3);
}

TEST(AbBar, ReversedRangeIsDrawnBetweenItsEnds) {
    AbBar bar;
    bar.setFormat("##0");
    bar.setRange(100, 0);
    bar.setValue(150);
    EXPECT_EQ(bar.valueText(), "100");
    bar.setValue(-3);
    EXPECT_EQ(bar.valueText(), "0");
}

TEST(RoundMeter, NeedleSweepsAndClamps) {
    Ab270Meter rpm;
    rpm.setRange(0, 6);
    rpm.setFormat("##0.0");
    rpm.setValue(9);
    EXPECT_DOUBLE_EQ(rpm.needleAngle(), -45.0);
    EXPECT_EQ(rpm.valueText(), "6.0");
    rpm.setValue(-1);
    EXPECT_DOUBLE_EQ(rpm.needleAngle(), 225.0);
    EXPECT_EQ(rpm.valueText(), "0.0");
    rpm.setValue(3);
    EXPECT_DOUBLE_EQ(rpm.needleAngle(), 90.0);
    EXPECT_DOUBLE_EQ(rpm.value(), 3.0);

    Ab180Meter pressure;
    pressure.setRange(0.001, 3);
    pressure.setFormat("##0.00");
    pressure.setValue(-0.2);
    EXPECT_DOUBLE_EQ(pressure.needleAngle(), 180.0);
    EXPECT_EQ(pressure.valueText(), "0.00");
    pressure.setValue(5);
    EXPECT_DOUBLE_EQ(pressure.needleAngle(), 0.0);
    EXPECT_EQ(pressure.valueText(), "3.00");
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
        }
        return false;
    }
};

void flushEvents() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
    }
}

// Readings arrive every 100 ms on many gauges; only visible changes may cost a repaint.
template <typename Gauge>
void expectRepaintOnlyOnVisibleChange(Gauge& gauge) {
    gauge.setRange(0, 5);
    gauge.setFormat("##0.0");
    gauge.resize(200, 200);
    gauge.setValue(1.0);
    gauge.show();
    flushEvents();
    PaintCounter counter(gauge);

    gauge.setValue(1.0001);  // same text, needle or bar within the same pixel
    gauge.setValue(1.0);
    gauge.setValue(std::nan(""));
    flushEvents();
    EXPECT_EQ(counter.paints, 0);

    gauge.setValue(9);
    flushEvents();
    const int afterChange = counter.paints;
    EXPECT_GE(afterChange, 1);
    gauge.setValue(12);  // still clamped to the same end
    flushEvents();
    EXPECT_EQ(counter.paints, afterChange);
}

TEST(GaugeRepaint, OnlyWhenWhatIsShownChanges) {
    AbBar bar;
    expectRepaintOnlyOnVisibleChange(bar);
    Ab270Meter meter;
    expectRepaintOnlyOnVisibleChange(meter);
}

// Two readings whose texts differ while the bar's end or the needle stays within its pixel:
// what changes on the screen is the value text.
template <typename Gauge>
void expectValueTextOnScreen(Gauge& gauge) {
    gauge.setRange(0, 9999);
    gauge.setFormat("##0");
    for (const QSize size : {QSize(60, 45), QSize(260, 200)}) {
        gauge.resize(size);
        gauge.setValue(5000);
        const QImage before = gauge.grab().toImage();
        gauge.setValue(5001);
        EXPECT_GT(clearlyDifferentPixels(before, gauge.grab().toImage()), 5)
            << size.width() << "x" << size.height();
    }
}

TEST(GaugeDrawing, ValueTextReachesTheScreen) {
    AbBar vertical;
    vertical.setUnitText(QString::fromUtf8("°C"));
    vertical.setCaption("TG");
    expectValueTextOnScreen(vertical);
    AbBar horizontal;
    horizontal.setOrientation(Qt::Horizontal);
    horizontal.setWarningAbove(2000);
    expectValueTextOnScreen(horizontal);
    Ab180Meter half;
    half.setCaption("DIFF. PRESSURE [BAR]");
    expectValueTextOnScreen(half);
    Ab270Meter threeQuarter;
    threeQuarter.setUnitText("RPMx1000");
    expectValueTextOnScreen(threeQuarter);
}

// Nothing to assert but that painting returns, at tiny sizes and with an empty, absurd or
// reversed range.
template <typename Gauge>
void paintOddCases() {
    for (const auto& [low, high] : {std::pair(2.0, 2.0), {-1e300, 1e300}, {100.0, 0.0}}) {
        Gauge gauge;
        gauge.setRange(low, high);
        gauge.setValue(high * 0.9 + 1);
        for (const QSize size : {QSize(3, 3), QSize(200, 12), QSize(12, 200), QSize(0, 0)}) {
            gauge.resize(size);
            (void)gauge.grab();
        }
    }
}

TEST(GaugeDrawing, TinySizesAndDegenerateRangesStillPaint) {
    paintOddCases<AbBar>();
    paintOddCases<Ab180Meter>();
    paintOddCases<Ab270Meter>();
}

}  // namespace

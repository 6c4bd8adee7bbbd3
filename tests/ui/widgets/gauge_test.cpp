// Bar gauges and round meters: what they show for values in and out of range, and that they
// draw at any size.
#include "widgets/ab_bar.h"
#include "widgets/ab_meter.h"

#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {

// Distinct colours in an image: a blank or one-colour image means nothing was drawn.
int colourCount(const QImage& image) {
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2) {
        for (int x = 0; x < image.width(); x += 2) {
            colours.insert(image.pixel(x, y));
        }
    }
    return static_cast<int>(colours.size());
}

TEST(AbBar, ValueTextIsNumberThenUnit) {
    AbBar bar;
    bar.setRange(-40, 150);
    bar.setFormat("##00");
    bar.setUnitText(QString::fromUtf8("°C"));
    bar.setValue(5);
    EXPECT_EQ(bar.valueText(), QString::fromUtf8("05°C"));
    bar.setValue(-12.4);
    EXPECT_EQ(bar.valueText(), QString::fromUtf8("-12°C"));
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

template <typename Widget>
void expectDrawsAtSizes(Widget& widget) {
    for (const QSize size : {QSize(40, 30), QSize(260, 200), QSize(3, 3), QSize(200, 12)}) {
        widget.resize(size);
        const QImage image = widget.grab().toImage();
        ASSERT_EQ(image.size(), size);
        if (size.width() >= 40 && size.height() >= 30) {
            EXPECT_GT(colourCount(image), 2) << size.width() << "x" << size.height();
        }
    }
}

TEST(GaugeDrawing, BarsAndMetersDrawAtSeveralSizes) {
    AbBar vertical;
    vertical.setRange(-40, 150);
    vertical.setFormat("##00");
    vertical.setUnitText(QString::fromUtf8("°C"));
    vertical.setCaption("TG");
    vertical.setValue(300);
    expectDrawsAtSizes(vertical);

    AbBar horizontal;
    horizontal.setOrientation(Qt::Horizontal);
    horizontal.setRange(0, 9999);
    horizontal.setValue(2500);
    horizontal.setWarningAbove(2000);
    expectDrawsAtSizes(horizontal);

    Ab180Meter half;
    half.setRange(0.001, 3);
    half.setFormat("##0.00");
    half.setUnitText("P[Bar]");
    half.setCaption("DIFF. PRESSURE [BAR]");
    half.setValue(1.2);
    expectDrawsAtSizes(half);

    Ab270Meter threeQuarter;
    threeQuarter.setRange(0, 6);
    threeQuarter.setFormat("##0.0");
    threeQuarter.setUnitText("RPMx1000");
    threeQuarter.setValue(-8);
    expectDrawsAtSizes(threeQuarter);

    // Degenerate and absurd ranges still draw.
    Ab270Meter empty;
    empty.setRange(2, 2);
    empty.setValue(2);
    expectDrawsAtSizes(empty);
    Ab180Meter huge;
    huge.setRange(-1e300, 1e300);
    huge.setValue(1e299);
    expectDrawsAtSizes(huge);
}

}  // namespace

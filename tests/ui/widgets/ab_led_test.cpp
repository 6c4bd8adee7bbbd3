#include "widgets/ab_led.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Runs the event loop until the condition holds or the (generous) time is up.
bool runUntil(const std::function<bool()>& condition, int timeoutMs = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs) {
            return false;
        }
        QEventLoop loop;
        QTimer::singleShot(2, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

void runFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

TEST(AbLED, StatusOrCheckedLightsIt) {
    AbLED led;
    EXPECT_FALSE(led.isLitShown());
    led.setStatus(1);
    EXPECT_TRUE(led.isLitShown());
    led.setStatus(0);
    led.setChecked(true);
    EXPECT_TRUE(led.isLitShown());
    led.setChecked(false);
    led.setStatus(7);
    EXPECT_EQ(led.status(), 1);
}

TEST(AbLED, FlashingBlinksWhileLitAndStops) {
    AbLED led;
    led.setBlinkInterval(20);
    led.setFlashing(true);
    EXPECT_FALSE(led.isBlinking()) << "an unlit lamp does not blink";

    led.setStatus(1);
    EXPECT_TRUE(led.isBlinking());
    EXPECT_TRUE(led.isLitShown()) << "a blink starts bright";
    ASSERT_TRUE(runUntil([&] { return !led.isLitShown(); }));
    ASSERT_TRUE(runUntil([&] { return led.isLitShown(); }));

    // Stopping the flashing leaves the lamp steadily lit, whatever phase it was in.
    ASSERT_TRUE(runUntil([&] { return !led.isLitShown(); }));
    led.setFlashing(false);
    EXPECT_FALSE(led.isBlinking());
    EXPECT_TRUE(led.isLitShown());
    runFor(100);
    EXPECT_TRUE(led.isLitShown());

    // Going unlit stops the blink too.
    led.setFlashing(true);
    EXPECT_TRUE(led.isBlinking());
    led.setStatus(0);
    EXPECT_FALSE(led.isBlinking());
    EXPECT_FALSE(led.isLitShown());
}

TEST(AbLED, LitAndUnlitDrawDifferently) {
    AbLED led;
    led.setColor(QColor(255, 0, 0));
    led.setCaption("Diesel ECO Valve");
    for (const QSize size : {QSize(120, 16), QSize(300, 60)}) {
        led.resize(size);
        led.setChecked(false);
        const QImage unlit = led.grab().toImage();
        led.setChecked(true);
        const QImage lit = led.grab().toImage();
        const QPoint lampCentre(size.height() / 2, size.height() / 2);
        EXPECT_GT(qRed(lit.pixel(lampCentre)), qRed(unlit.pixel(lampCentre)) + 60);
    }
    led.setCaptionBelow(true);
    led.resize(3, 3);
    EXPECT_FALSE(led.grab().isNull());
}

}  // namespace

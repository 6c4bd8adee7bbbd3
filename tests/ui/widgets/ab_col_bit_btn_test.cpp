#include "widgets/ab_col_bit_btn.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

TEST(AbColBitBtn, ShowsTextAndColourOfItsState) {
    AbColBitBtn button;
    // The language file sets the texts by their property names.
    button.setProperty("TextOn", "DIESEL");
    button.setProperty("TextOff", "diesel");
    button.setColorOn(QColor(220, 0, 0));
    button.setColorOff(QColor(0, 0, 220));
    EXPECT_EQ(button.shownText(), "diesel");
    button.setState(true);
    EXPECT_EQ(button.shownText(), "DIESEL");
    EXPECT_EQ(button.shownColor(), QColor(220, 0, 0));
    button.setTextOn("ON!");
    EXPECT_EQ(button.shownText(), "ON!");

    for (const QSize size : {QSize(60, 20), QSize(180, 50)}) {
        button.resize(size);
        const QPoint edge(4, size.height() / 2);
        button.setState(true);
        const QImage on = button.grab().toImage();
        button.setState(false);
        const QImage off = button.grab().toImage();
        EXPECT_GT(qRed(on.pixel(edge)), qBlue(on.pixel(edge)) + 80);
        EXPECT_GT(qBlue(off.pixel(edge)), qRed(off.pixel(edge)) + 80);
    }
}

TEST(AbColBitBtn, ClickSignalsButLeavesStateToTheProgram) {
    AbColBitBtn button;
    button.setTextOn("on");
    button.setTextOff("off");
    int clicks = 0;
    int toggles = 0;
    QObject::connect(&button, &AbColBitBtn::clicked, [&] { ++clicks; });
    QObject::connect(&button, &AbColBitBtn::toggled, [&] { ++toggles; });
    button.setState(true);
    button.setState(false);
    EXPECT_EQ(clicks, 0);
    button.click();
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(button.state());
    EXPECT_EQ(toggles, 0);
}

}  // namespace

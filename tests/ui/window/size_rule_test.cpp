// The window's size: built-in size centred, the 800 x 600 minimum rule, and contents that fit.
#include <QScreen>

#include "ui/side_panel.h"
#include "window_fixture.h"

namespace kaldor::test {
namespace {

::testing::AssertionResult isCentred(const QWidget& window) {
    const QPoint screenCentre = window.screen()->availableGeometry().center();
    const QPoint windowCentre = window.frameGeometry().center();
    if ((screenCentre - windowCentre).manhattanLength() <= 2) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "window centre (" << windowCentre.x() << ", " << windowCentre.y()
           << "), screen centre (" << screenCentre.x() << ", " << screenCentre.y() << ")";
}

TEST_F(WindowTest, StartsAtTheBuiltInSizeCentredOnTheScreen) {
    EXPECT_EQ(window->size(), QSize(1064, 631));
    EXPECT_TRUE(isCentred(*window));
}

TEST_F(WindowTest, TooNarrowIsRefusedWidthBecomes800AndWindowIsRecentred) {
    window->move(0, 0);
    int width = 700;
    int height = 700;
    EXPECT_FALSE(window->FormCanResize(width, height));
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 700);
    EXPECT_EQ(window->width(), 800);
    EXPECT_EQ(window->height(), 631) << "the refused request must not change the height";
    EXPECT_TRUE(isCentred(*window));
}

TEST_F(WindowTest, TooLowIsRefusedHeightBecomes600AndWindowIsRecentred) {
    window->move(0, 0);
    int width = 900;
    int height = 500;
    EXPECT_FALSE(window->FormCanResize(width, height));
    EXPECT_EQ(width, 900);
    EXPECT_EQ(height, 600);
    EXPECT_EQ(window->height(), 600);
    EXPECT_EQ(window->width(), 1064) << "the refused request must not change the width";
    EXPECT_TRUE(isCentred(*window));
}

TEST_F(WindowTest, BothTooSmallCorrectsBothSides) {
    int width = 10;
    int height = -5;
    EXPECT_FALSE(window->FormCanResize(width, height));
    EXPECT_EQ(QSize(width, height), QSize(800, 600));
    EXPECT_EQ(window->size(), QSize(800, 600));
}

TEST_F(WindowTest, SizesFromTheMinimumUpAreAllowedUntouched) {
    window->move(5, 7);
    for (const QSize requested : {QSize(800, 600), QSize(801, 1200), QSize(2000, 600)}) {
        int width = requested.width();
        int height = requested.height();
        EXPECT_TRUE(window->FormCanResize(width, height)) << width << " x " << height;
        EXPECT_EQ(QSize(width, height), requested);
    }
    EXPECT_EQ(window->size(), QSize(1064, 631));
    EXPECT_EQ(window->pos(), QPoint(5, 7)) << "an allowed size must not move the window";
}

// As a user drags the frame: the platform resizes the shown window, then the rule runs on the
// outer size, frame included. Sizes here are outer sizes; the window starts at 1064 x 631.
TEST_F(WindowTest, RealResizesFollowTheRuleOnTheOuterSize) {
    showActive();
    const QSize extra = window->frameExtra();
    struct Case {
        QSize requested;
        QSize result;
    };
    for (const Case c : {Case{{700, 700}, {800, 631}}, Case{{900, 500}, {1064, 600}},
                         Case{{500, 300}, {800, 600}}, Case{{900, 640}, {900, 640}}}) {
        window->resize(QSize(1064, 631) - extra);
        window->move(0, 0);
        QApplication::processEvents();
        window->resize(c.requested - extra);
        QApplication::processEvents();
        EXPECT_EQ(window->frameGeometry().size(), c.result)
            << c.requested.width() << " x " << c.requested.height();
        if (c.result != c.requested)
            EXPECT_TRUE(isCentred(*window));
        else
            EXPECT_EQ(window->pos(), QPoint(0, 0));
    }
}

TEST_F(WindowTest, ContentsFitTheMinimumSize) {
    showActive();
    window->resize(800, 600);
    QApplication::processEvents();
    QWidget* central = window->centralWidget();
    const QSize needed = central->minimumSizeHint();
    EXPECT_LE(needed.width(), central->width());
    EXPECT_LE(needed.height(), central->height());
    const auto* panel = find<QWidget>("PanelPasek");
    EXPECT_EQ(panel->width(), SidePanel::kWidth);
    EXPECT_EQ(panel->height(), central->height()) << "the side panel runs the full height";
}

}  // namespace
}  // namespace kaldor::test

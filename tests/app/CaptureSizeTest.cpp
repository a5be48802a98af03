#include "app/CaptureLayout.h"
#include "capture/window/CaptureWindow.h"
#include "support/ScriptedDriver.h"
#include "support/VantuHarness.h"

#include <QGroupBox>
#include <QScreen>
#include <gtest/gtest.h>

TEST(CaptureSizeTest, FittingKeepsProportionsAndNeverGrowsThePicture)
{
    // A window 100 pixels wider and 50 higher than its picture.
    const auto window = [](QSize shown) { return shown + QSize(100, 50); };
    struct Case
    {
        QSize Video;
        QSize Area;
        QSize Expected;
    };
    const Case cases[] = {
        {{320, 240}, {1280, 1024}, {320, 240}}, // fits: unchanged
        {{1280, 720}, {1280, 1024}, {1180, 663}},
        {{1280, 720}, {800, 300}, {446, 250}},
        {{640, 480}, {90, 40}, {}}, // not even a pixel fits
        {{}, {800, 600}, {}},
    };
    for (const Case& c : cases)
    {
        const QSize fitted = FitVideoToArea(c.Video, c.Area, window);
        EXPECT_EQ(fitted, c.Expected) << c.Video.width() << "x" << c.Video.height();
        if (!fitted.isEmpty())
        {
            EXPECT_LE(window(fitted).width(), c.Area.width());
            EXPECT_LE(window(fitted).height(), c.Area.height());
        }
    }
}

TEST(CaptureSizeTest, TheWindowFitsTheScreenAndAShrunkWindowScalesThePicture)
{
    ScopedScriptedDrivers drivers;
    drivers.Camera().Size = QSize(1920, 1080);
    VantuHarness h;
    frmVantu& w = h.Start();
    const QSize available = w.screen()->availableGeometry().size();
    EXPECT_LE(w.width(), available.width());
    EXPECT_LE(w.height(), available.height());
    const QSize shown = w.CaptureWindowHandle()->size();
    EXPECT_LT(shown.width(), 1920);
    EXPECT_NEAR(shown.width() * 1080.0 / 1920.0, shown.height(), 1.0) << "the proportions stay";

    w.show();
    w.resize(w.width() * 2 / 3, w.height() * 2 / 3);
    const QSize smaller = w.CaptureWindowHandle()->size();
    EXPECT_LT(smaller.width(), shown.width());
    EXPECT_NEAR(smaller.width() * 1080.0 / 1920.0, smaller.height(), 1.0);
    EXPECT_LE(w.Ui().Frame1->geometry().right(), w.width());
}

TEST(CaptureSizeTest, ASavedPositionIsKeptOnTheScreen)
{
    const QRect screen(0, 0, 1280, 1024);
    const QSize window(400, 300);
    EXPECT_EQ(PlaceOnScreen({100, 50}, window, screen), QPoint(100, 50));
    EXPECT_EQ(PlaceOnScreen({1200, 900}, window, screen), QPoint(880, 724)) << "a screen smaller than before";
    EXPECT_EQ(PlaceOnScreen({-500, -20}, window, screen), QPoint(0, 0));
    EXPECT_EQ(PlaceOnScreen({300, 300}, QSize(2000, 2000), screen), QPoint(0, 0)) << "larger than the screen";
}

#include "shell/TrayAPI.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QPixmap>
#include <gtest/gtest.h>

namespace
{
// A window with the tray's popup menu, wired as the main window wires it; its mode change enables
// Stop Monitoring and disables Exit, as every mode change does.
class TrayTest : public ::testing::Test
{
protected:
    TrayTest()
    {
        QPixmap picture(16, 16);
        picture.fill(Qt::red);
        form.setWindowIcon(QIcon(picture));
        const char* captions[] = {"&Show", "Stop &Monitoring", "&Exit"};
        for (std::size_t i = 0; i < mPop.size(); ++i)
            mPop[i] = menu.addAction(QLatin1String(captions[i]));
        tray = std::make_unique<TrayAPI>(TrayAPI::Links{form, menu, mPop, [this] { ++stops, ChangeMode(); },
                                                        [this] { ++unloads; },
                                                        [this] { return trayAvailable; }});
        for (int i = 0; i < 3; ++i)
            QObject::connect(mPop[static_cast<std::size_t>(i)], &QAction::triggered, tray.get(),
                             [this, i] { tray->mPop_Click(i); });
        ChangeMode();
        form.show();
    }

    void ChangeMode()
    {
        mPop[1]->setEnabled(true);
        mPop[2]->setEnabled(false);
    }

    bool Shown() const { return tray->Icon() != nullptr; }

    QMainWindow form;
    QMenu menu;
    std::array<QAction*, 3> mPop{};
    int stops = 0;
    int unloads = 0;
    bool trayAvailable = true;
    std::unique_ptr<TrayAPI> tray;
};
} // namespace

TEST_F(TrayTest, HideAndShowMoveBetweenTheWindowAndTheIcon)
{
    tray->HideToTray();
    EXPECT_FALSE(form.isVisible());
    ASSERT_TRUE(Shown());
    EXPECT_EQ(tray->Icon()->contextMenu(), &menu);
    EXPECT_EQ(tray->Icon()->icon().cacheKey(), form.windowIcon().cacheKey());
    EXPECT_FALSE(mPop[2]->isEnabled()) << "no Exit while monitoring";

    mPop[0]->trigger();
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(Shown());
    tray->RemoveTrayIcon();
    EXPECT_FALSE(Shown()) << "a second removal is harmless";

    form.hide();
    tray->HideToTray();
    ASSERT_TRUE(Shown());
    QSystemTrayIcon* icon = tray->Icon();
    emit icon->activated(QSystemTrayIcon::DoubleClick);
    emit icon->activated(QSystemTrayIcon::Context);
    EXPECT_FALSE(form.isVisible()) << "only a left click brings the window back";
    emit icon->activated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(Shown());

    form.hide();
    emit icon->activated(QSystemTrayIcon::Trigger);
    EXPECT_FALSE(form.isVisible()) << "clicks on a removed icon do nothing";
}

TEST_F(TrayTest, StopMonitoringLeavesShowAndExitAndExitUnloads)
{
    tray->HideToTray();
    mPop[2]->trigger();
    EXPECT_EQ(unloads, 0) << "Exit is disabled while monitoring";

    mPop[1]->trigger();
    EXPECT_EQ(stops, 1);
    EXPECT_FALSE(mPop[1]->isEnabled());
    EXPECT_TRUE(mPop[2]->isEnabled());
    EXPECT_FALSE(form.isVisible()) << "the window stays hidden";
    EXPECT_TRUE(Shown());

    mPop[2]->trigger();
    EXPECT_EQ(unloads, 1);
}

TEST_F(TrayTest, WithoutANotificationAreaHideMinimizes)
{
    trayAvailable = false;
    tray->HideToTray();
    EXPECT_TRUE(form.isMinimized());
    EXPECT_FALSE(Shown());
}

TEST_F(TrayTest, RemovingWithoutEverHidingLeavesTheWindowAlone)
{
    tray->RemoveTrayIcon();
    EXPECT_FALSE(Shown());
    EXPECT_TRUE(form.isVisible());
}

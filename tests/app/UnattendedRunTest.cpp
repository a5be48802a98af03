#include "app/UnattendedRun.h"
#include "support/FakeNotifications.h"
#include "support/ScriptedDriver.h"
#include "support/VantuHarness.h"

#include <QAction>
#include <QDBusConnection>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <gtest/gtest.h>

namespace
{
// The main window with its unattended side, whose notifications go to a private bus without a service.
class UnattendedRunTest : public ::testing::Test
{
protected:
    UnattendedRunTest()
    {
        h.Start();
        run = std::make_unique<UnattendedRun>(
            h.Window(), h.clock,
            QDBusConnection::connectToBus(bus.BusAddress(), QStringLiteral("unattended-test")));
    }
    ~UnattendedRunTest() override
    {
        run.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("unattended-test"));
    }

    frmVantu& W() { return h.Window(); }
    SourceState Source(SourceStatus status) { return {status, drivers.Camera().Name, {}, 0, 0}; }

    ScopedScriptedDrivers drivers;
    VantuHarness h;
    FakeNotifications bus{false};
    std::unique_ptr<UnattendedRun> run;
};
} // namespace

TEST_F(UnattendedRunTest, MonitoringAskedForBeginsOnceThePictureIsLive)
{
    drivers.Camera().RaiseState(Source(SourceStatus::Lost));
    run->MonitorWhenLive();
    EXPECT_EQ(W().CurrentMode(), ModePreview);
    drivers.Camera().RaiseState(Source(SourceStatus::Live));
    drivers.Camera().QueueFrame(1000);
    drivers.Camera().AnnounceFrame();
    EXPECT_EQ(W().CurrentMode(), ModeMonitor);

    W().ChangeMode(ModePreview);
    emit W().Ui().mPopup->aboutToShow();
    ASSERT_TRUE(run->StartMonitoringItem()->isVisible());
    run->StartMonitoringItem()->trigger();
    EXPECT_EQ(W().CurrentMode(), ModeMonitor) << "the tray's Start Monitoring, with the picture live";
    emit W().Ui().mPopup->aboutToShow();
    EXPECT_FALSE(run->StartMonitoringItem()->isVisible());
    EXPECT_TRUE(run->PauseAlertsItem()->isVisible());
    run->PauseAlertsItem()->trigger();
    emit W().Ui().mPopup->aboutToShow();
    EXPECT_TRUE(run->ResumeAlertsItem()->isVisible());
    EXPECT_FALSE(run->PauseAlertsItem()->isVisible());
}

TEST_F(UnattendedRunTest, TheTrayTellsTheStateInItsPictureAndToolTip)
{
    run->Refresh();
    EXPECT_EQ(run->State(), TrayState::Preview);
    W().ChangeMode(ModeMonitor);
    run->Refresh();
    EXPECT_EQ(run->State(), TrayState::Monitoring);
    DetectionEvent event{1, h.clock.now, h.clock.now, 1, std::nullopt};
    emit W().Session().EventStarted(event);
    EXPECT_EQ(run->ToolTip(), QStringLiteral("Vantu: monitoring, 1 detection since 15:04"));
    drivers.Camera().RaiseState(Source(SourceStatus::Lost));
    EXPECT_EQ(run->State(), TrayState::Lost);
    EXPECT_EQ(run->ToolTip(), QStringLiteral("Vantu: no picture from ") + drivers.Camera().Name);

    const QIcon base = W().windowIcon();
    QList<QImage> pictures;
    for (TrayState state : {TrayState::Preview, TrayState::Monitoring, TrayState::Event, TrayState::Lost})
    {
        const QImage picture = TrayStateIcon(base, state).pixmap(64, 64).toImage();
        EXPECT_FALSE(pictures.contains(picture)) << static_cast<int>(state);
        pictures << picture;
    }
}

TEST_F(UnattendedRunTest, ShowingTheWindowAfterItWasHiddenSumsUpWhatHappened)
{
    W().show();
    W().ChangeMode(ModeMonitor);
    W().hide();
    DetectionEvent event{1, h.clock.now, h.clock.now, 1, std::nullopt};
    emit W().Session().EventStarted(event);
    for (event.Detections = 2; event.Detections <= 4; ++event.Detections)
        emit W().Session().EventGrew(event);
    event = {2, h.clock.now.addSecs(600), h.clock.now.addSecs(600), 1, std::nullopt};
    emit W().Session().EventStarted(event);
    W().show();
    const auto* notice = W().Ui().Frame1->findChild<QLabel*>(QStringLiteral("Notice"));
    ASSERT_NE(notice, nullptr);
    EXPECT_FALSE(notice->isHidden());
    EXPECT_EQ(notice->text(), QStringLiteral("While hidden: 2 events, 5 detections, the last at 15:14"));
}

#include "capture/modAVICAP.h"
#include "capture/window/CaptureWindow.h"
#include "support/ScriptedDriver.h"
#include "support/VantuHarness.h"
#include "ui/ChangeMeter.h"
#include "ui/DateText.h"
#include "ui/StatusPanels.h"
#include "ui/Twips.h"

#include <QAction>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QSlider>
#include <QTimer>
#include <gtest/gtest.h>

namespace
{
// The window's mode-dependent state, read off the real widgets.
struct Observed
{
    QString Panel1, Panel2;
    qint64 Picture;
    bool LiveView, Browser, Info, DetectionMenu, Delete;
    bool PreviewChecked, MonitorChecked, MonitorEnabled, DetectionsChecked, DetectionsEnabled;
    bool FineTuneChecked, FineTuneEnabled, Preferences, Hide, LogFile, Exit, TrayStop, TrayExit, Grab;
    int Pointer;
};

Observed Observe(const frmVantu& w, const FakePointer& pointer)
{
    const frmVantuUi& ui = w.Ui();
    return {ui.StatusBar1->Text(1),
            ui.StatusBar1->Text(2),
            ui.imgStatus->pixmap().cacheKey(),
            !ui.imgStatus->isHidden() && !ui.Frame1->isHidden(),
            !ui.filDetections->isHidden() && !ui.picDetection->isHidden(),
            !ui.lblDetectionInfo->isHidden(),
            ui.mnuDetection->menuAction()->isVisible(),
            ui.mnuDelete->isEnabled(),
            ui.mnuPreview->isChecked(),
            ui.mnuMonitor->isChecked(),
            ui.mnuMonitor->isEnabled(),
            ui.mnuDetections->isChecked(),
            ui.mnuDetections->isEnabled(),
            ui.mnuFineTune->isChecked(),
            ui.mnuFineTune->isEnabled(),
            ui.mnuPreferences->isEnabled(),
            ui.mnuHide->isEnabled(),
            ui.mnuLogFile->isEnabled(),
            ui.mnuFileExit->isEnabled(),
            ui.mPop[1]->isEnabled(),
            ui.mPop[2]->isEnabled(),
            w.Session().GrabTimer().isActive(),
            pointer.Pointer()};
}

class ModesTest : public ::testing::Test
{
protected:
    ModesTest()
    {
        drivers.Camera().Size = QSize(320, 240);
        SettingsRecord s;
        s.WriteLogFile = True;
        h.WriteSettings(s);
        h.Start();
    }

    frmVantu& W() { return h.Window(); }
    Observed State() { return Observe(W(), h.pointer); }
    QByteArray Log() { return h.ReadAppFile(QStringLiteral("Vantu.Log")); }
    QByteArray LogLine(const char* text)
    {
        return QByteArray(">") + text + GeneralDate(h.clock.now).toUtf8() + "\r\n";
    }

    // Feeds frames through the grab request until the detector has its baseline.
    void CompleteBaseline()
    {
        for (int i = 0; i < 26; ++i)
        {
            drivers.Camera().QueueFrame(1000);
            W().Session().GrabTimer_Timer();
        }
    }

    ScopedScriptedDrivers drivers;
    VantuHarness h;
};
} // namespace

TEST_F(ModesTest, EachModeSetsItsRowOfTheStateTable)
{
    const frmVantuUi& ui = W().Ui();
    Observed s = State();
    EXPECT_EQ(s.Panel2, "Preview Mode");
    EXPECT_EQ(s.Picture, ui.imgStatPreview.cacheKey());
    EXPECT_TRUE(s.LiveView && !s.Browser && !s.Info && !s.DetectionMenu && !s.Delete);
    EXPECT_TRUE(s.PreviewChecked && !s.MonitorChecked && s.MonitorEnabled && !s.DetectionsChecked &&
                s.DetectionsEnabled);
    EXPECT_TRUE(s.FineTuneEnabled && s.Preferences && !s.Hide && s.LogFile && s.Exit && s.TrayStop &&
                !s.TrayExit);
    EXPECT_FALSE(s.Grab);

    W().Ui().mnuMonitor->trigger();
    s = State();
    EXPECT_EQ(W().CurrentMode(), ModeMonitor);
    EXPECT_EQ(s.Panel1, "Previewing...") << "Monitor keeps the action text until the baseline is there";
    EXPECT_EQ(s.Panel2, "Monitor Mode");
    EXPECT_EQ(s.Picture, ui.imgStatInital.cacheKey());
    EXPECT_TRUE(s.LiveView && !s.Browser && !s.Info && !s.DetectionMenu && !s.Delete);
    EXPECT_TRUE(!s.PreviewChecked && s.MonitorChecked && !s.DetectionsChecked && !s.DetectionsEnabled);
    EXPECT_TRUE(!s.FineTuneEnabled && !s.Preferences && s.Hide && !s.LogFile && !s.Exit && s.TrayStop &&
                !s.TrayExit);
    EXPECT_TRUE(s.Grab);
    EXPECT_EQ(s.Pointer, PointerShape::Hourglass);

    W().Ui().mnuPreview->trigger();
    W().Ui().mnuDetections->trigger();
    s = State();
    EXPECT_EQ(W().CurrentMode(), ModeView);
    EXPECT_EQ(s.Panel1, "Viewing...");
    EXPECT_EQ(s.Panel2, "View Mode");
    EXPECT_TRUE(!s.LiveView && s.Browser && s.Info && s.DetectionMenu && !s.Delete);
    EXPECT_TRUE(!s.PreviewChecked && !s.MonitorChecked && s.DetectionsChecked);
    EXPECT_TRUE(!s.FineTuneEnabled && !s.Preferences && !s.Hide && s.LogFile && s.Exit && s.TrayStop &&
                !s.TrayExit);
    EXPECT_EQ(W().size(), QSize(TwipsToPixels(5025), TwipsToPixels(3615)));

    W().Ui().mnuPreview->trigger();
    W().Ui().mnuFineTune->trigger();
    s = State();
    EXPECT_EQ(W().CurrentMode(), ModeFineTune);
    EXPECT_EQ(s.Panel1, "Tuning...");
    EXPECT_EQ(s.Panel2, "Fine Tune Mode");
    EXPECT_EQ(s.Picture, ui.imgStatInital.cacheKey());
    EXPECT_TRUE(!s.Info && !s.DetectionMenu && !s.Delete);
    EXPECT_TRUE(!s.MonitorEnabled && !s.DetectionsEnabled && s.FineTuneChecked && s.FineTuneEnabled);
    EXPECT_TRUE(!s.Preferences && !s.Hide && s.LogFile && s.Exit && s.TrayStop && !s.TrayExit && !s.Grab);
    EXPECT_EQ(s.Pointer, PointerShape::Hourglass);
}

TEST_F(ModesTest, LeavingViewGivesTheWindowBackTheVideoSize)
{
    const QSize previewSize = W().size();
    W().ChangeMode(ModeView);
    EXPECT_NE(W().size(), previewSize);
    W().ChangeMode(ModePreview);
    EXPECT_EQ(W().size(), previewSize);
    W().ChangeMode(ModeView);
    W().ChangeMode(ModeMonitor);
    EXPECT_EQ(W().size(), previewSize);
    EXPECT_EQ(W().Ui().Frame1->size(), QSize(328, 255));
}

TEST_F(ModesTest, MonitorLinesAreLoggedOnEntryAndOnExitOnlyWhileMonitoring)
{
    W().ChangeMode(ModeMonitor);
    EXPECT_EQ(Log(), LogLine("Entered Monitor Mode: "));
    W().ChangeMode(ModePreview); // the baseline was not complete yet: no exit line
    EXPECT_EQ(Log(), LogLine("Entered Monitor Mode: "));

    W().ChangeMode(ModeMonitor);
    CompleteBaseline();
    EXPECT_EQ(W().Ui().StatusBar1->Text(1), "Monitoring...");
    W().ChangeMode(ModeMonitor); // again: a new entry line and a new baseline
    EXPECT_EQ(W().Session().Detector().FrameCount, 0);
    W().ChangeMode(ModePreview);
    EXPECT_EQ(Log(), LogLine("Entered Monitor Mode: ") + LogLine("Entered Monitor Mode: ") +
                         LogLine("Entered Monitor Mode: ") + LogLine("Exited Monitor Mode: "));

    W().ChangeMode(ModeMonitor);
    CompleteBaseline();
    W().ChangeMode(ModeView);
    const QByteArray before = Log();
    W().ChangeMode(ModePreview);
    EXPECT_EQ(Log(), before) << "no exit line when leaving for View";
}

TEST_F(ModesTest, ClosingTheWindowWhileMonitoringAsksFirstAndLogsTheEndOfMonitoring)
{
    W().ChangeMode(ModeMonitor);
    h.messages.answers = {MsgBoxResult::No};
    EXPECT_FALSE(W().close());
    EXPECT_FALSE(W().IsUnloaded());
    EXPECT_EQ(W().CurrentMode(), ModeMonitor);
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_TRUE(h.messages.shown[0].Prompt.startsWith(
        QStringLiteral("Vantu is monitoring. Stop monitoring and quit?")));

    h.messages.answers = {MsgBoxResult::Yes};
    EXPECT_TRUE(W().close());
    EXPECT_TRUE(W().IsUnloaded());
    EXPECT_TRUE(Log().endsWith(LogLine("Exited Monitor Mode: ")));
}

TEST_F(ModesTest, DetectionsToolTipCountsFramesAnalysedAndDroppedSinceMonitorBegan)
{
    const QString plain = W().Ui().StatusBar1->ToolTip(3);
    drivers.Camera().QueueFrame(1000);
    drivers.Camera().SkipFrames(5); // dropped before monitoring: not counted
    drivers.Camera().QueueFrame(1000);
    W().Session().GrabTimer_Timer();
    W().ChangeMode(ModeMonitor);
    W().Session().GrabTimer_Timer();
    drivers.Camera().QueueFrame(1000);
    drivers.Camera().SkipFrames(2);
    drivers.Camera().QueueFrame(1000);
    drivers.Camera().QueueFrame(1000);
    for (int i = 0; i < 4; ++i)
        W().Session().GrabTimer_Timer();
    EXPECT_EQ(W().Ui().StatusBar1->ToolTip(3),
              QStringLiteral("Since Monitor began: 4 frames analysed, 2 dropped"));
    W().ChangeMode(ModePreview);
    EXPECT_EQ(W().Ui().StatusBar1->ToolTip(3), plain);
}

TEST_F(ModesTest, PreviewBringsTheLivePictureBackAfterMonitoring)
{
    CaptureWindow* capture = W().CaptureWindowHandle();
    W().ChangeMode(ModeMonitor);
    drivers.Camera().QueueFrame(10);
    W().Session().GrabTimer_Timer();
    EXPECT_FALSE(capture->Previewing()) << "a grab ends the live picture";
    W().ChangeMode(ModePreview);
    EXPECT_TRUE(capture->Previewing());
}

TEST_F(ModesTest, FineTuningShowsTheSliderOnceTheBaselineIsThere)
{
    W().Settings().Sensitivity = 2.0;
    W().Ui().mnuFineTune->trigger();
    EXPECT_EQ(W().Ui().sldSens->value(), 200);
    EXPECT_EQ(W().Ui().framSens->title(), QStringLiteral("2"));
    EXPECT_TRUE(W().Ui().framSens->isHidden());

    // Fine tuning is fed by the live preview frames; without a minimum interval every frame counts.
    capPreviewRate(W().CaptureWindowHandle(), 0);
    for (int i = 0; i < 26; ++i)
    {
        drivers.Camera().QueueFrame(1000);
        drivers.Camera().AnnounceFrame();
        QCoreApplication::sendPostedEvents();
    }
    EXPECT_EQ(W().Session().Detector().FrameCount, 26);
    EXPECT_FALSE(W().Ui().framSens->isHidden());
    // Level with the live view, and nothing of the tuning covers the status picture or the live view or
    // falls outside the window.
    const frmVantuUi& ui = W().Ui();
    EXPECT_EQ(ui.framSens->y(), ui.Frame1->y());
    EXPECT_EQ(ui.framSens->height(), ui.Frame1->height());
    for (const QWidget* control :
         {static_cast<const QWidget*>(ui.framSens), static_cast<const QWidget*>(ui.picMeter),
          static_cast<const QWidget*>(ui.lblLessSensitive), static_cast<const QWidget*>(ui.lblMoreSensitive)})
    {
        EXPECT_FALSE(control->geometry().intersects(ui.imgStatus->geometry()))
            << control->objectName().toStdString();
        EXPECT_FALSE(control->geometry().intersects(ui.Frame1->geometry()))
            << control->objectName().toStdString();
        EXPECT_LT(control->geometry().right(), W().width()) << control->objectName().toStdString();
    }
    EXPECT_EQ(W().Ui().StatusBar1->Text(1), "Tuning...");
    EXPECT_EQ(W().Ui().imgStatus->pixmap().cacheKey(), W().Ui().imgStatTune.cacheKey());
    EXPECT_EQ(h.pointer.Pointer(), PointerShape::Default);

    W().Ui().sldSens->setValue(125);
    EXPECT_EQ(W().Settings().Sensitivity, 1.25);
    EXPECT_EQ(W().Ui().framSens->title(), QStringLiteral("1.25"));
    EXPECT_EQ(W().Session().Detector().FrameCount, 26) << "moving the slider keeps the baseline";

    W().Ui().mnuFineTune->trigger();
    EXPECT_TRUE(W().Ui().framSens->isHidden());
    EXPECT_FALSE(W().Ui().mnuFineTune->isChecked());
    EXPECT_TRUE(W().Ui().mnuMonitor->isEnabled());
    EXPECT_TRUE(W().Ui().mnuDetections->isEnabled());
    EXPECT_EQ(W().CurrentMode(), ModePreview);
}

TEST_F(ModesTest, PreviewFromFineTuningKeepsTheFineTuningMenuState)
{
    W().Ui().mnuFineTune->trigger();
    CompleteBaseline();
    W().Ui().mnuPreview->trigger();
    EXPECT_EQ(W().CurrentMode(), ModePreview);
    EXPECT_TRUE(W().Ui().mnuFineTune->isChecked());
    EXPECT_FALSE(W().Ui().mnuMonitor->isEnabled());
    EXPECT_FALSE(W().Ui().framSens->isHidden());
    W().Ui().mnuFineTune->trigger(); // the slider is shown, so this leaves fine tuning
    EXPECT_TRUE(W().Ui().framSens->isHidden());
    EXPECT_TRUE(W().Ui().mnuMonitor->isEnabled());
}

TEST_F(ModesTest, SliderPositionRoundsHalvesToEvenAndCaptionUsesTheShortestForm)
{
    struct Case
    {
        double sensitivity;
        int position;
        const char* caption;
    };
    for (const Case& c : {Case{2.0, 200, "2"}, Case{0.125, 12, "0.125"}, Case{0.135, 14, "0.135"},
                          Case{2.5, 250, "2.5"}, Case{0.0, 0, "0"}, Case{7.0, 500, "7"}})
    {
        W().Settings().Sensitivity = c.sensitivity;
        W().Ui().mnuFineTune->trigger();
        EXPECT_EQ(W().Ui().sldSens->value(), c.position) << c.sensitivity;
        EXPECT_EQ(W().Ui().framSens->title(), QString::fromLatin1(c.caption));
        EXPECT_EQ(W().Settings().Sensitivity, c.sensitivity)
            << "opening the slider does not change the value";
        W().Ui().framSens->show();
        W().Ui().mnuFineTune->trigger();
    }
}

TEST_F(ModesTest, AnUnknownModeShowsAnErrorAndOnlyTheCommonSettings)
{
    W().ChangeMode(ModeMonitor);
    W().ChangeMode(static_cast<Mode>(7));
    EXPECT_EQ(W().CurrentMode(), 7);
    EXPECT_EQ(W().Ui().StatusBar1->Text(1), "Mode Error!");
    EXPECT_EQ(W().Ui().StatusBar1->Text(2), "Unknown Mode");
    EXPECT_TRUE(W().Ui().mnuPreferences->isEnabled());
    EXPECT_TRUE(W().Ui().mnuFileExit->isEnabled());
    EXPECT_FALSE(W().Ui().mnuHide->isEnabled());
    EXPECT_FALSE(W().Session().GrabTimer().isActive());
    EXPECT_TRUE(W().Ui().mnuMonitor->isChecked()) << "everything else keeps its state";
}

TEST(ModesWithoutDriver, MonitorNeverGetsFramesAndKeepsTheHourglass)
{
    InstallCaptureDrivers(nullptr);
    VantuHarness h;
    frmVantu& w = h.Start();
    w.ChangeMode(ModeMonitor);
    for (int i = 0; i < 30; ++i)
        w.Session().GrabTimer_Timer();
    EXPECT_EQ(h.pointer.Pointer(), PointerShape::Hourglass);
    EXPECT_EQ(w.Ui().StatusBar1->Text(1), "Initializing...");
    EXPECT_EQ(w.Ui().Frame1->size(), QSize(8, 15));
}

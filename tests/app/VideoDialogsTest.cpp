#include "capture/driver/CaptureConfig.h"
#include "capture/frmSelect.h"
#include "capture/window/CaptureWindow.h"
#include "settings/frmPreferences.h"
#include "support/ScriptedDriver.h"
#include "support/StreamModalDialog.h"
#include "support/VantuHarness.h"
#include "ui/StatusPanels.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace
{
class VideoDialogsTest : public ::testing::Test
{
protected:
    frmVantu& Start() { return h.Start(); }

    // Opens the driver selection from the preferences dialog and runs body inside it.
    void InSelect(frmVantu& w, const std::function<void(frmSelect&)>& body)
    {
        frmPreferences& preferences = w.LoadPreferences();
        OperateNextModal<frmSelect>(
            [&w, body](frmSelect& select)
            {
                EXPECT_EQ(w.Select(), &select);
                body(select);
            });
        preferences.cmdSelectDevice->click();
        EXPECT_EQ(w.Select(), nullptr) << "the selection dialog is unloaded when it closes";
    }

    ScopedScriptedDrivers drivers{3};
    VantuHarness h;
};
} // namespace

TEST_F(VideoDialogsTest, TheListShowsEveryDriverAndPreselectsTheOneInUse)
{
    frmVantu& w = Start();
    InSelect(w,
             [](frmSelect& select)
             {
                 EXPECT_EQ(select.windowTitle(), QStringLiteral("Video Source"));
                 EXPECT_EQ(select.lblDriver->text(), QStringLiteral("Installed Drivers:"));
                 ASSERT_EQ(select.cmboSource->count(), 3);
                 EXPECT_EQ(select.cmboSource->itemText(1), QStringLiteral("Scripted camera 1"));
                 EXPECT_EQ(select.cmboSource->currentIndex(), 0);
                 select.cmdCancel->click();
             });
    EXPECT_EQ(drivers.Camera(1).Opens, 0) << "Cancel changes nothing";
}

TEST_F(VideoDialogsTest, SelectConnectsTheChosenDriverAndShowsItsName)
{
    frmVantu& w = Start();
    const QSize before = w.size();
    InSelect(w,
             [](frmSelect& select)
             {
                 select.cmboSource->setCurrentIndex(2);
                 select.cmdSelect->click();
             });
    EXPECT_EQ(drivers.Camera(2).Opens, 1);
    EXPECT_EQ(w.Settings().DeviceName, QStringLiteral("Scripted camera 2"));
    EXPECT_EQ(w.Preferences()->txtDevice->text(), QStringLiteral("Scripted camera 2"));
    EXPECT_EQ(w.size(), before) << "a driver change does not resize the window";

    InSelect(w,
             [](frmSelect& select)
             {
                 EXPECT_EQ(select.cmboSource->currentIndex(), 2);
                 select.cmboSource->setCurrentIndex(-1);
                 select.cmdSelect->click(); // nothing selected: only closes
             });
    EXPECT_EQ(w.Settings().DeviceName, QStringLiteral("Scripted camera 2"));
}

TEST_F(VideoDialogsTest, TheNextStartConnectsTheDriverChosenLastWhileItIsPresent)
{
    CaptureConfig config(h.AppFile(QStringLiteral("Vantu.Capture")));
    drivers.List()->Config = &config;
    InSelect(Start(),
             [](frmSelect& select)
             {
                 select.cmboSource->setCurrentIndex(2);
                 select.cmdSelect->click();
             });
    const auto restart = [this, &config]
    {
        h.window.reset();
        config = CaptureConfig(config.Path());
        InstallCaptureDrivers(drivers.List());
        // The description buffer of the start carries NUL padding.
        return h.Start().Settings().DeviceName.section(QChar(0), 0, 0);
    };
    EXPECT_EQ(restart(), QStringLiteral("Scripted camera 2"));
    EXPECT_EQ(drivers.Camera(2).Opens, 2);

    drivers.List()->Cameras.pop_back(); // unplugged
    EXPECT_EQ(restart(), QStringLiteral("Scripted camera 0"));
}

TEST_F(VideoDialogsTest, ACameraPluggedInAtTheFrontKeepsSelectOnTheChosenEntry)
{
    frmVantu& w = Start();
    const auto plugIn = [this]
    {
        auto camera = std::make_shared<ScriptedCamera>();
        camera->Name = QStringLiteral("USB camera");
        drivers.List()->Cameras.insert(drivers.List()->Cameras.begin(), camera);
    };
    InSelect(w,
             [&](frmSelect& select)
             {
                 select.cmboSource->setCurrentIndex(1);
                 plugIn(); // while the dialog is open
                 select.cmdSelect->click();
             });
    EXPECT_EQ(drivers.Camera(2).Opens, 1) << "the camera chosen, now at another place";
    EXPECT_EQ(w.Settings().DeviceName, QStringLiteral("Scripted camera 1"));
    InSelect(w,
             [](frmSelect& select)
             {
                 EXPECT_EQ(select.cmboSource->currentText(), QStringLiteral("Scripted camera 1"));
                 select.cmboSource->setCurrentIndex(0);
                 select.cmdSelect->click();
             });
    EXPECT_EQ(drivers.Camera(0).Opens, 1) << "the entry at the place of the connected one is another driver";
    EXPECT_EQ(w.Settings().DeviceName, QStringLiteral("USB camera"));
}

TEST_F(VideoDialogsTest, ADriverChosenAfterAFailedStartShowsItsPictureAtOnce)
{
    drivers.Camera(0).OpenSucceeds = false;
    drivers.Camera(1).Size = QSize(352, 288);
    frmVantu& w = Start();
    InSelect(w,
             [](frmSelect& select)
             {
                 select.cmboSource->setCurrentIndex(1);
                 select.cmdSelect->click();
             });
    EXPECT_EQ(w.CaptureWindowHandle()->size(), QSize(352, 288));
    EXPECT_TRUE(w.CaptureWindowHandle()->Previewing());
    EXPECT_EQ(w.Ui().StatusBar1->Text(1), QStringLiteral("Previewing..."));
}

TEST_F(VideoDialogsTest, AFailedConnectionClosesSilentlyAndChangesNothing)
{
    drivers.Camera(1).OpenSucceeds = false;
    drivers.Camera(1).HasFormatDialog = false;
    frmVantu& w = Start();
    const QString device = w.Settings().DeviceName;
    InSelect(w,
             [](frmSelect& select)
             {
                 select.cmboSource->setCurrentIndex(1);
                 select.cmdSelect->click();
             });
    EXPECT_EQ(w.Settings().DeviceName, device);
    EXPECT_TRUE(w.Preferences()->cmdVidFormat->isEnabled());
    EXPECT_TRUE(h.messages.shown.empty());
}

TEST_F(VideoDialogsTest, DialogButtonsFollowTheChosenDriverBothWays)
{
    drivers.Camera(1).HasFormatDialog = false;
    frmVantu& w = Start();
    EXPECT_EQ(w.Preferences(), nullptr) << "driver 0 has every dialog: nothing is loaded at start-up";
    InSelect(w,
             [](frmSelect& select)
             {
                 select.cmboSource->setCurrentIndex(1);
                 select.cmdSelect->click();
             });
    frmPreferences& preferences = *w.Preferences();
    EXPECT_FALSE(preferences.cmdVidFormat->isEnabled());
    EXPECT_TRUE(preferences.cmdVidSource->isEnabled());
    EXPECT_TRUE(preferences.cmdCompression->isEnabled());
    InSelect(w,
             [](frmSelect& select)
             {
                 select.cmboSource->setCurrentIndex(0);
                 select.cmdSelect->click();
             });
    EXPECT_TRUE(preferences.cmdVidFormat->isEnabled()) << "a driver with the dialog enables its button again";

    CAPDRIVERCAPS noDisplay{};
    noDisplay.fHasDlgVideoSource = 1;
    noDisplay.fHasDlgVideoFormat = 1;
    preferences.DisableMissingDriverDialogs(noDisplay);
    EXPECT_FALSE(preferences.cmdVidDisplay->isEnabled());
    EXPECT_TRUE(preferences.cmdVidSource->isEnabled());
    EXPECT_TRUE(preferences.cmdCompression->isEnabled());
}

TEST_F(VideoDialogsTest, ADriverWithoutASourceDialogLoadsThePreferencesHiddenAtStartUp)
{
    drivers.Camera(0).HasSourceDialog = false;
    frmVantu& w = Start();
    ASSERT_NE(w.Preferences(), nullptr);
    EXPECT_FALSE(w.Preferences()->isVisible());
    EXPECT_FALSE(w.Preferences()->cmdVidSource->isEnabled());
    EXPECT_TRUE(w.Preferences()->cmdVidFormat->isEnabled());

    // The dialog loaded at start-up is unloaded at shutdown, which saves the settings.
    EXPECT_FALSE(QFileInfo::exists(h.AppFile(QStringLiteral("Vantu.Dat"))));
    w.close();
    EXPECT_EQ(w.Preferences(), nullptr);
    EXPECT_TRUE(QFileInfo::exists(h.AppFile(QStringLiteral("Vantu.Dat"))));
}

TEST_F(VideoDialogsTest, FormatResizesTheLiveViewToTheNewFrameSize)
{
    drivers.Camera(0).SizeAfterFormatDialog = QSize(640, 480);
    frmVantu& w = Start();
    w.LoadPreferences().cmdVidFormat->click();
    EXPECT_EQ(drivers.Camera(0).FormatDialogs, 1);
    EXPECT_EQ(w.CaptureWindowHandle()->size(), QSize(640, 480));
    EXPECT_EQ(w.Ui().Frame1->size(), QSize(648, 495));

    drivers.Camera(0).NameAfterSourceDialog = QStringLiteral("Video file: porch.avi");
    w.Preferences()->cmdVidSource->click();
    EXPECT_EQ(drivers.Camera(0).SourceDialogs, 1);
    EXPECT_EQ(w.Settings().DeviceName, QStringLiteral("Video file: porch.avi"))
        << "the name follows the source";
    EXPECT_EQ(w.Preferences()->txtDevice->text(), QStringLiteral("Video file: porch.avi"));
}

TEST_F(VideoDialogsTest, PreferencesShowTheSettingsOfNowAndSaveWhenTheyClose)
{
    frmVantu& w = Start();
    w.Settings().Sensitivity = 1.25;
    OperateNextModal<frmPreferences>(
        [&w](frmPreferences& dialog)
        {
            frmPreferences* preferences = &dialog;
            EXPECT_EQ(w.Preferences(), preferences);
            EXPECT_EQ(preferences->windowTitle(), QStringLiteral("Preferences"));
            EXPECT_EQ(preferences->framSens->title(), QStringLiteral("Sensitivity : 1.25"));
            EXPECT_EQ(preferences->sldSens->value(), 125);
            EXPECT_EQ(preferences->txtDevice->text(), QStringLiteral("Scripted camera 0"));
            preferences->sldSens->setValue(50);
            EXPECT_EQ(w.Settings().Sensitivity, 0.5) << "a change takes effect at once";
            EXPECT_EQ(preferences->framSens->title(), QStringLiteral("Sensitivity : 0.5"));
            preferences->close();
        });
    w.Ui().mnuPreferences->trigger();
    EXPECT_EQ(w.Preferences(), nullptr);
    SettingsRecord saved = DecodeSettings(h.ReadAppFile(QStringLiteral("Vantu.Dat")));
    EXPECT_EQ(saved.Sensitivity, 0.5);
    EXPECT_EQ(saved.DeviceName, w.Settings().DeviceName);
}

TEST_F(VideoDialogsTest, ACameraFailingWhileRunningShowsTheVideoErrorAndEnds)
{
    frmVantu& w = Start();
    w.ChangeMode(ModeMonitor);
    drivers.Camera(0).RaiseError(
        19, QStringLiteral("The camera \"Scripted camera 0\" stopped delivering pictures"));
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.shown[0].Title, QStringLiteral("Vantu Video Error"));
    EXPECT_TRUE(
        h.messages.shown[0].Prompt.startsWith(QStringLiteral("The camera \"Scripted camera 0\" stopped")));
    EXPECT_TRUE(h.messages.shown[0].Prompt.contains(QStringLiteral("\rError Number: 19\r")));
    EXPECT_TRUE(w.IsUnloaded());
    EXPECT_FALSE(w.Session().GrabTimer().isActive());
}

TEST_F(VideoDialogsTest, AVideoErrorInsideTheFormatDialogUnloadsTheOpenDialogsSafely)
{
    frmVantu& w = Start();
    OperateNextModal<frmPreferences>(
        [&w, this](frmPreferences& preferences)
        {
            EXPECT_EQ(w.Preferences(), &preferences);
            drivers.Camera(0).RaiseError(5, QStringLiteral("Input/output error"));
        });
    w.Ui().mnuPreferences->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.IsUnloaded());
    EXPECT_EQ(w.Preferences(), nullptr);
    EXPECT_TRUE(QFileInfo::exists(h.AppFile(QStringLiteral("Vantu.Dat")))) << "unloading the dialog saved";
}

#include "capture/driver/CaptureDriverList.h"
#include "capture/window/CaptureWindow.h"
#include "log/frmLog.h"
#include "support/ScriptedDriver.h"
#include "support/StreamModalDialog.h"
#include "support/VantuHarness.h"
#include "ui/Notice.h"
#include "ui/StatusPanels.h"
#include "ui/Twips.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTextBrowser>
#include <QTimer>
#include <cmath>
#include <gtest/gtest.h>

namespace
{
int WindowPixels(float sizePixels)
{
    return TwipsToPixels(sizePixels * 14.26531f);
}

QStringList Captions(const QMenu* menu)
{
    QStringList captions;
    for (const QAction* item : menu->actions())
        captions << (item->isSeparator() ? QStringLiteral("-") : item->text());
    return captions;
}
} // namespace

TEST(Startup, WithoutAnyDriverTheWindowOpensSmallInPreviewMode)
{
    InstallCaptureDrivers(nullptr);
    VantuHarness h;
    frmVantu& w = h.Start();

    EXPECT_FALSE(w.IsUnloaded());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Vantu Version 1.0"));
    EXPECT_EQ(w.CurrentMode(), ModePreview);
    EXPECT_EQ(w.Ui().StatusBar1->Text(1), QStringLiteral("Initializing..."));
    EXPECT_EQ(w.Ui().StatusBar1->Text(2), QStringLiteral("Preview Mode"));
    EXPECT_EQ(w.Ui().StatusBar1->Text(3), QStringLiteral("Detections: 0"));
    EXPECT_EQ(w.Ui().Frame1->size(), QSize(8, 15));
    EXPECT_EQ(w.Ui().imgStatus->height(), 14); // 0.9 x 15 = 13.5, rounded
    EXPECT_EQ(w.width(), std::max(WindowPixels(8 + 145 + 40), w.minimumSizeHint().width()));
    EXPECT_EQ(w.Settings().DeviceName, QString(100, QChar(0))) << "the empty description buffer";
    EXPECT_NE(w.CaptureWindowHandle(), nullptr);
    EXPECT_TRUE(h.messages.shown.empty());
    EXPECT_TRUE(QDir(h.dir.path() + "/Detections").exists());
    EXPECT_TRUE(h.pointer.customIconSet);
    EXPECT_EQ(w.CommonDialog1().HelpFile, h.dir.path() + "/Vantu10.Hlp");
}

TEST(Startup, DriverZeroGivesTheWindowTheSizeOfItsVideoFormat)
{
    ScopedScriptedDrivers drivers(2);
    drivers.Camera(0).Size = QSize(320, 240);
    VantuHarness h;
    frmVantu& w = h.Start();

    EXPECT_EQ(w.Ui().StatusBar1->Text(1), QStringLiteral("Previewing..."));
    EXPECT_EQ(w.CaptureWindowHandle()->size(), QSize(320, 240));
    EXPECT_EQ(w.CaptureWindowHandle()->pos(), QPoint(4, 12));
    EXPECT_EQ(w.CaptureWindowHandle()->parentWidget(), w.Ui().Frame1);
    EXPECT_EQ(w.Ui().Frame1->size(), QSize(328, 255));
    EXPECT_EQ(w.Ui().imgStatus->height(), 230); // 0.9 x 255 = 229.5, rounded
    EXPECT_EQ(w.width(), WindowPixels(328 + 145 + 40));
    EXPECT_EQ(w.height(), WindowPixels(255 + 7 + 80));
    EXPECT_TRUE(w.CaptureWindowHandle()->Previewing());
    EXPECT_EQ(w.Settings().DeviceName, QStringLiteral("Scripted camera 0") + QString(83, QChar(0)));
    EXPECT_EQ(drivers.Camera(1).Opens, 0) << "start-up always connects driver 0";
}

TEST(Startup, DriverZeroThatCannotBeOpenedLeavesInitializingSilently)
{
    ScopedScriptedDrivers drivers;
    drivers.Camera().OpenSucceeds = false;
    VantuHarness h;
    frmVantu& w = h.Start();
    EXPECT_EQ(w.Ui().StatusBar1->Text(1), QStringLiteral("Initializing..."));
    EXPECT_EQ(w.Ui().Frame1->size(), QSize(8, 15));
    EXPECT_TRUE(h.messages.shown.empty());
}

TEST(Startup, AMissingImageFolderIsMadeAndOneThatCannotBeMadeLeavesTheProgramRunning)
{
    InstallCaptureDrivers(nullptr);
    VantuHarness made;
    SettingsRecord s;
    s.ImageDirectory = made.dir.path() + QStringLiteral("/missing/pictures/");
    made.WriteSettings(s);
    EXPECT_FALSE(made.Start().IsUnloaded());
    EXPECT_TRUE(QFileInfo(s.ImageDirectory).isDir());

    VantuHarness blocked;
    blocked.WriteAppFile(QStringLiteral("plain"), "a file, not a folder");
    s.ImageDirectory = blocked.dir.path() + QStringLiteral("/plain/pictures/");
    blocked.WriteSettings(s);
    frmVantu& w = blocked.Start();
    EXPECT_FALSE(w.IsUnloaded());
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(blocked.messages.shown.size(), 1u);
    EXPECT_TRUE(blocked.messages.shown[0].Prompt.contains(s.ImageDirectory));
    const auto* notice = w.findChild<Notice*>(QStringLiteral("Notice"));
    ASSERT_NE(notice, nullptr);
    EXPECT_FALSE(notice->isHidden());
    EXPECT_TRUE(notice->text().startsWith(QStringLiteral("Pictures are not saved")));
}

TEST(MainWindow, HasTheMenuTreeStatusPanelsAndDesignPlaces)
{
    InstallCaptureDrivers(nullptr);
    VantuHarness h;
    frmVantu& w = h.Start();

    QStringList top;
    for (const QAction* menu : w.menuBar()->actions())
        top << menu->text();
    EXPECT_EQ(top, (QStringList{"&File", "&Detections", "&View", "&Help"}));
    EXPECT_EQ(Captions(w.Ui().mnuFile), (QStringList{"&Hide", "-", "E&xit"}));
    EXPECT_EQ(Captions(w.Ui().mnuDetection), (QStringList{"&Select All", "&Delete"}));
    EXPECT_EQ(Captions(w.Ui().mnuView), (QStringList{"&Preview", "&Monitor", "&Detections", "&Fine Tuning",
                                                     "&Log File", "-", "P&references"}));
    EXPECT_EQ(Captions(w.Ui().mnuHelp), (QStringList{"&Index", "&About"}));
    EXPECT_EQ(Captions(w.Ui().mPopup), (QStringList{"&Show", "Stop &Monitoring", "&Exit"}));
    EXPECT_FALSE(w.Ui().mPopup->isVisible());

    const QStringList keys{"StatAct", "StatMode", "StatDet"};
    const QStringList tips{"Current Action", "Mode", "Number of Stored Detections"};
    ASSERT_EQ(w.Ui().StatusBar1->Count(), 3);
    for (int position = 1; position <= 3; ++position)
    {
        EXPECT_EQ(w.Ui().StatusBar1->Key(position), keys[position - 1]);
        EXPECT_EQ(w.Ui().StatusBar1->ToolTip(position), tips[position - 1]);
    }

    EXPECT_EQ(w.Ui().Frame1->title(), QStringLiteral("Live View"));
    EXPECT_EQ(w.Ui().Frame1->pos(), QPoint(145, 7));
    EXPECT_EQ(w.Ui().filDetections->geometry(), QRect(7, 8, 125, 162));
    EXPECT_EQ(w.Ui().picDetection->geometry(), QRect(144, 8, 178, 144));
    EXPECT_EQ(w.Ui().lblDetectionInfo->geometry(), QRect(139, 156, 185, 15));
    EXPECT_EQ(w.Ui().framSens->geometry(), QRect(106, 16, 35, 147));
    EXPECT_TRUE(w.Ui().framSens->isHidden());
    EXPECT_EQ(w.Session().GrabTimer().interval(), 10);
}

TEST(MainWindow, PicturesAreRealImages)
{
    InstallCaptureDrivers(nullptr);
    VantuHarness h;
    frmVantu& w = h.Start();
    for (const QPixmap* picture :
         {&w.Ui().imgStatInital, &w.Ui().imgStatPreview, &w.Ui().imgStatMonitor, &w.Ui().imgStatTune})
    {
        const QImage image = picture->toImage();
        ASSERT_FALSE(image.isNull());
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 4)
            for (int x = 0; x < image.width(); x += 4)
                colours.insert(image.pixel(x, y));
        EXPECT_GT(colours.size(), 5);
    }
    EXPECT_NE(w.Ui().imgStatInital.toImage(), w.Ui().imgStatMonitor.toImage());
    EXPECT_FALSE(w.windowIcon().isNull());
    EXPECT_FALSE(w.Ui().Image1.pixmap().isNull());
}

TEST(MainWindow, TheSeparatorLineAlwaysSpansTheWindow)
{
    InstallCaptureDrivers(nullptr);
    VantuHarness h;
    frmVantu& w = h.Start();
    w.show();
    for (const int width : {400, 900, 250})
    {
        w.resize(width, 300);
        EXPECT_EQ(w.Ui().Line1->width(), w.width());
    }
}

TEST(MainWindow, HelpIndexOpensTheHelpDocumentFromTheApplicationFolder)
{
    InstallCaptureDrivers(nullptr);
    VantuHarness h;
    frmVantu& w = h.Start();

    w.Ui().mnuHelpIndex->trigger();
    ASSERT_EQ(h.messages.shown.size(), 1u) << "there is no help file in the folder yet";
    EXPECT_TRUE(h.messages.shown[0].Prompt.contains(h.dir.path() + "/Vantu10.Hlp"));

    h.WriteAppFile(QStringLiteral("Vantu10.Hlp"),
                   "<html><body><p>Top</p><h2><a name=\"index\">Index</a></h2><p>Entries</p></body></html>");
    w.Ui().mnuHelpIndex->trigger();
    EXPECT_EQ(w.CommonDialog1().HelpCommand, CommonDialog::cdlHelpIndex);
    ASSERT_NE(w.CommonDialog1().HelpWindow(), nullptr);
    EXPECT_TRUE(w.CommonDialog1().HelpWindow()->isVisible());
    const auto* text = w.CommonDialog1().HelpWindow()->findChild<QTextBrowser*>();
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->toPlainText().contains(QStringLiteral("Entries")));
}

TEST(MainWindow, FileExitUnloadsWithoutALogLineAndRemovesTheCallbacks)
{
    ScopedScriptedDrivers drivers;
    VantuHarness h;
    SettingsRecord s;
    s.WriteLogFile = True;
    h.WriteSettings(s);
    frmVantu& w = h.Start();
    w.ChangeMode(ModeMonitor);
    w.ChangeMode(ModePreview);
    const QByteArray logBefore = h.ReadAppFile(QStringLiteral("Vantu.Log"));

    w.Ui().mnuFileExit->trigger();
    EXPECT_TRUE(w.IsUnloaded());
    EXPECT_FALSE(w.Session().GrabTimer().isActive());
    EXPECT_EQ(h.ReadAppFile(QStringLiteral("Vantu.Log")), logBefore);

    // With the callbacks removed, a grabbed frame or a driver error reaches nothing, even when the
    // window was closed while it monitored.
    VantuHarness monitoring;
    frmVantu& m = monitoring.Start();
    m.ChangeMode(ModeMonitor);
    monitoring.messages.answers = {MsgBoxResult::Yes}; // stop monitoring and quit
    m.close();
    drivers.Camera().QueueFrame(1000);
    m.Session().GrabTimer_Timer();
    EXPECT_EQ(m.Session().Detector().FrameCount, 0);
    monitoring.messages.shown.clear(); // the question before quitting
    drivers.Camera().RaiseError(5, QStringLiteral("gone"));
    EXPECT_TRUE(monitoring.messages.shown.empty());
}

TEST(MainWindow, AboutShowsTheProductItsVersionAPictureAndTheFolderInUse)
{
    InstallCaptureDrivers(nullptr);
    VantuHarness h;
    frmVantu& w = h.Start();
    OperateNextModal<QDialog>(
        [&h](QDialog& about)
        {
            EXPECT_EQ(about.windowTitle(), QStringLiteral("About Vantu Version 1.0"));
            QStringList texts;
            for (const QLabel* label : about.findChildren<QLabel*>())
                texts << label->text();
            EXPECT_TRUE(texts.contains(QStringLiteral("Vantu")));
            EXPECT_TRUE(texts.contains(QStringLiteral("Version 1.0")));
            const QLabel* picture = about.findChild<QLabel*>(QStringLiteral("picIcon"));
            ASSERT_NE(picture, nullptr);
            EXPECT_FALSE(picture->pixmap().isNull());
            const QLabel* folder = about.findChild<QLabel*>(QStringLiteral("lblFolder"));
            ASSERT_NE(folder, nullptr);
            EXPECT_TRUE(folder->text().contains(h.dir.path()));
            about.accept();
        });
    w.Ui().mnuAbout->trigger();
}

TEST(MainWindow, CommonShortcutsWorkInTheWindowAndShowBesideTheirItems)
{
    InstallCaptureDrivers(nullptr);
    VantuHarness h;
    frmVantu& w = h.Start();
    const struct
    {
        QAction* item;
        QKeySequence keys;
    } shortcuts[] = {{w.Ui().mnuHelpIndex, QKeySequence(Qt::Key_F1)},
                     {w.Ui().mnuFileExit, QKeySequence(Qt::CTRL | Qt::Key_Q)},
                     {w.Ui().mnuDelete, QKeySequence(Qt::Key_Delete)}};
    for (const auto& s : shortcuts)
    {
        SCOPED_TRACE(s.item->objectName().toStdString());
        EXPECT_EQ(s.item->shortcut(), s.keys);
        EXPECT_TRUE(w.actions().contains(s.item)) << "the key works while the item's menu is hidden";
    }
}

TEST(MainWindow, HideWorksOnlyWhileMonitoringAndMinimizesWhereThereIsNoNotificationArea)
{
    InstallCaptureDrivers(nullptr);
    VantuHarness h;
    frmVantu& w = h.Start();
    w.show();
    EXPECT_FALSE(w.Ui().mnuHide->isEnabled());
    w.ChangeMode(ModeMonitor);
    ASSERT_TRUE(w.Ui().mnuHide->isEnabled());
    w.Ui().mnuHide->trigger(); // the offscreen platform has no notification area
    EXPECT_TRUE(w.isMinimized());
    EXPECT_EQ(w.CurrentMode(), ModeMonitor) << "hiding changes nothing else";
    EXPECT_TRUE(w.Session().GrabTimer().isActive());
}

TEST(MainWindow, ViewLogFileShowsTheLogNamedInTheSettings)
{
    InstallCaptureDrivers(nullptr);
    VantuHarness h;
    SettingsRecord s;
    s.LogFile = h.AppFile(QStringLiteral("other.log"));
    h.WriteSettings(s);
    h.WriteAppFile(QStringLiteral("other.log"), ">Entered Monitor Mode: 12/7/99\r\n");
    frmVantu& w = h.Start();
    bool opened = false;
    OperateNextModal<frmLog>(
        [&opened](frmLog& log)
        {
            opened = log.windowTitle() == QStringLiteral("Vantu Log");
            log.close();
        });
    w.Ui().mnuLogFile->trigger();
    EXPECT_TRUE(opened);
    EXPECT_TRUE(h.messages.shown.empty()) << "the file named in the settings exists";
}

#include "capture/driver/CaptureDriverList.h"
#include "capture/window/CaptureWindow.h"
#include "support/ScriptedDriver.h"
#include "support/VantuHarness.h"
#include "ui/StatusPanels.h"
#include "ui/Twips.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
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
    EXPECT_EQ(w.Vars.CurrentMode, ModePreview);
    EXPECT_EQ(w.ui.StatusBar1->Text(1), QStringLiteral("Initializing..."));
    EXPECT_EQ(w.ui.StatusBar1->Text(2), QStringLiteral("Preview Mode"));
    EXPECT_EQ(w.ui.StatusBar1->Text(3), QStringLiteral("Detections: 0"));
    EXPECT_EQ(w.ui.Frame1->size(), QSize(8, 15));
    EXPECT_EQ(w.ui.imgStatus->height(), 14); // 0.9 x 15 = 13.5, rounded
    EXPECT_EQ(w.width(), std::max(WindowPixels(8 + 145 + 40), w.minimumSizeHint().width()));
    EXPECT_EQ(w.Vars.Settings.DeviceName, QString(100, QChar(0))) << "the empty description buffer";
    EXPECT_NE(w.Vars.CaptureWindowHandle, nullptr);
    EXPECT_TRUE(h.messages.shown.empty());
    EXPECT_TRUE(QDir(h.dir.path() + "/Detections").exists());
    EXPECT_TRUE(h.pointer.customIconSet);
    EXPECT_EQ(w.CommonDialog1.HelpFile, h.dir.path() + "/Vantu10.Hlp");
}

TEST(Startup, DriverZeroGivesTheWindowTheSizeOfItsVideoFormat)
{
    ScopedScriptedDrivers drivers(2);
    drivers.Camera(0).Size = QSize(320, 240);
    VantuHarness h;
    frmVantu& w = h.Start();

    EXPECT_EQ(w.ui.StatusBar1->Text(1), QStringLiteral("Previewing..."));
    EXPECT_EQ(w.Vars.CaptureWindowHandle->size(), QSize(320, 240));
    EXPECT_EQ(w.Vars.CaptureWindowHandle->pos(), QPoint(4, 12));
    EXPECT_EQ(w.Vars.CaptureWindowHandle->parentWidget(), w.ui.Frame1);
    EXPECT_EQ(w.ui.Frame1->size(), QSize(328, 255));
    EXPECT_EQ(w.ui.imgStatus->height(), 230); // 0.9 x 255 = 229.5, rounded
    EXPECT_EQ(w.width(), WindowPixels(328 + 145 + 40));
    EXPECT_EQ(w.height(), WindowPixels(255 + 7 + 80));
    EXPECT_TRUE(w.Vars.CaptureWindowHandle->Previewing());
    EXPECT_EQ(w.Vars.Settings.DeviceName, QStringLiteral("Scripted camera 0") + QString(83, QChar(0)));
    EXPECT_EQ(drivers.Camera(1).Opens, 0) << "start-up always connects driver 0";
}

TEST(Startup, DriverZeroThatCannotBeOpenedLeavesInitializingSilently)
{
    ScopedScriptedDrivers drivers;
    drivers.Camera().OpenSucceeds = false;
    VantuHarness h;
    frmVantu& w = h.Start();
    EXPECT_EQ(w.ui.StatusBar1->Text(1), QStringLiteral("Initializing..."));
    EXPECT_EQ(w.ui.Frame1->size(), QSize(8, 15));
    EXPECT_TRUE(h.messages.shown.empty());
}

TEST(Startup, AnImageFolderThatDoesNotExistEndsTheProgram)
{
    InstallCaptureDrivers(nullptr);
    VantuHarness h;
    SettingsRecord s;
    s.ImageDirectory = h.dir.path() + QStringLiteral("/missing/");
    h.WriteSettings(s);
    frmVantu& w = h.Start();

    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.shown[0].Prompt,
              QStringLiteral("Invalid Path values in Vantu.Dat.  If problem persists, "
                             "delete Vantu.Dat and restart application."));
    EXPECT_EQ(h.messages.shown[0].Title, QStringLiteral("Error!"));
    EXPECT_EQ(h.messages.shown[0].Style, MsgBoxStyle::Critical);
    EXPECT_TRUE(w.IsUnloaded());
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
    EXPECT_EQ(Captions(w.ui.mnuFile), (QStringList{"&Hide", "-", "E&xit"}));
    EXPECT_EQ(Captions(w.ui.mnuDetection), (QStringList{"&Select All", "&Delete"}));
    EXPECT_EQ(Captions(w.ui.mnuView), (QStringList{"&Preview", "&Monitor", "&Detections", "&Fine Tuning",
                                                   "&Log File", "-", "P&references"}));
    EXPECT_EQ(Captions(w.ui.mnuHelp), (QStringList{"&Index", "&About"}));
    EXPECT_EQ(Captions(w.ui.mPopup), (QStringList{"&Show", "Stop &Monitoring", "&Exit"}));
    EXPECT_FALSE(w.ui.mPopup->isVisible());

    const QStringList keys{"StatAct", "StatMode", "StatDet"};
    const QStringList tips{"Current Action", "Mode", "Number of Stored Detections"};
    ASSERT_EQ(w.ui.StatusBar1->Count(), 3);
    for (int position = 1; position <= 3; ++position)
    {
        EXPECT_EQ(w.ui.StatusBar1->Key(position), keys[position - 1]);
        EXPECT_EQ(w.ui.StatusBar1->ToolTip(position), tips[position - 1]);
    }

    EXPECT_EQ(w.ui.Frame1->title(), QStringLiteral("Live View"));
    EXPECT_EQ(w.ui.Frame1->pos(), QPoint(145, 7));
    EXPECT_EQ(w.ui.filDetections->geometry(), QRect(7, 8, 125, 162));
    EXPECT_EQ(w.ui.picDetection->geometry(), QRect(144, 8, 178, 144));
    EXPECT_EQ(w.ui.lblDetectionInfo->geometry(), QRect(139, 156, 185, 15));
    EXPECT_EQ(w.ui.framSens->geometry(), QRect(106, 16, 35, 147));
    EXPECT_TRUE(w.ui.framSens->isHidden());
    EXPECT_EQ(w.ui.GrabTimer->interval(), 10);
    EXPECT_EQ(w.ui.InternetTimer->interval(), 1000);
    EXPECT_FALSE(w.ui.InternetTimer->isActive());
}

TEST(MainWindow, PicturesAreRealImages)
{
    InstallCaptureDrivers(nullptr);
    VantuHarness h;
    frmVantu& w = h.Start();
    for (const QPixmap* picture :
         {&w.ui.imgStatInital, &w.ui.imgStatPreview, &w.ui.imgStatMonitor, &w.ui.imgStatTune})
    {
        const QImage image = picture->toImage();
        ASSERT_FALSE(image.isNull());
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 4)
            for (int x = 0; x < image.width(); x += 4)
                colours.insert(image.pixel(x, y));
        EXPECT_GT(colours.size(), 5);
    }
    EXPECT_NE(w.ui.imgStatInital.toImage(), w.ui.imgStatMonitor.toImage());
    EXPECT_FALSE(w.windowIcon().isNull());
    EXPECT_FALSE(w.ui.Image1.pixmap().isNull());
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
        EXPECT_EQ(w.ui.Line1->width(), w.width());
    }
}

TEST(MainWindow, HelpIndexOpensTheHelpDocumentFromTheApplicationFolder)
{
    InstallCaptureDrivers(nullptr);
    VantuHarness h;
    frmVantu& w = h.Start();

    w.ui.mnuHelpIndex->trigger();
    ASSERT_EQ(h.messages.shown.size(), 1u) << "there is no help file in the folder yet";
    EXPECT_TRUE(h.messages.shown[0].Prompt.contains(h.dir.path() + "/Vantu10.Hlp"));

    h.WriteAppFile(QStringLiteral("Vantu10.Hlp"),
                   "<html><body><p>Top</p><h2><a name=\"index\">Index</a></h2><p>Entries</p></body></html>");
    w.ui.mnuHelpIndex->trigger();
    EXPECT_EQ(w.CommonDialog1.HelpCommand, CommonDialog::cdlHelpIndex);
    ASSERT_NE(w.CommonDialog1.HelpWindow(), nullptr);
    EXPECT_TRUE(w.CommonDialog1.HelpWindow()->isVisible());
    const auto* text = w.CommonDialog1.HelpWindow()->findChild<QTextBrowser*>();
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

    w.ui.mnuFileExit->trigger();
    EXPECT_TRUE(w.IsUnloaded());
    EXPECT_FALSE(w.ui.GrabTimer->isActive());
    EXPECT_EQ(h.ReadAppFile(QStringLiteral("Vantu.Log")), logBefore);

    // With the callbacks removed, a grabbed frame or a driver error reaches nothing.
    w.Vars.CurrentMode = ModeMonitor;
    drivers.Camera().QueueFrame(1000);
    w.GrabTimer_Timer();
    EXPECT_EQ(w.Detector.FrameCount, 0);
    drivers.Camera().RaiseError(5, QStringLiteral("gone"));
    EXPECT_TRUE(h.messages.shown.empty());
}

TEST(MainWindow, AboutShowsTheProductItsVersionAndAPicture)
{
    InstallCaptureDrivers(nullptr);
    VantuHarness h;
    frmVantu& w = h.Start();
    QTimer::singleShot(0,
                       []
                       {
                           auto* about = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                           ASSERT_NE(about, nullptr);
                           EXPECT_EQ(about->windowTitle(), QStringLiteral("About Vantu Version 1.0"));
                           QStringList texts;
                           for (const QLabel* label : about->findChildren<QLabel*>())
                               texts << label->text();
                           EXPECT_TRUE(texts.contains(QStringLiteral("Vantu")));
                           EXPECT_TRUE(texts.contains(QStringLiteral("Version 1.0")));
                           const QLabel* picture = about->findChild<QLabel*>(QStringLiteral("picIcon"));
                           ASSERT_NE(picture, nullptr);
                           EXPECT_FALSE(picture->pixmap().isNull());
                           about->accept();
                       });
    w.ui.mnuAbout->trigger();
}

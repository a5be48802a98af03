#include "capture/driver/CaptureConfig.h"
#include "store/DetectionStore.h"
#include "support/BrowserSupport.h"
#include "support/ScriptedDriver.h"
#include "support/VantuHarness.h"
#include "ui/DateText.h"
#include "ui/Notice.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace
{
class BrowserTest : public ::testing::Test
{
protected:
    QString ImageDirectory() const { return h.dir.path() + QStringLiteral("/Detections/"); }

    void AddImage(const QString& name, QColor colour = Qt::red)
    {
        QDir().mkpath(ImageDirectory());
        QImage image(8, 6, QImage::Format_RGB888);
        image.fill(colour);
        ASSERT_TRUE(image.save(ImageDirectory() + name, "BMP"));
    }

    void SetTaken(const QString& name, const QDateTime& taken)
    {
        QFile file(ImageDirectory() + name);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(taken, QFileDevice::FileModificationTime));
    }

    void AddFile(const QString& name, const QByteArray& bytes)
    {
        QDir().mkpath(ImageDirectory());
        QFile file(ImageDirectory() + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    frmVantu& StartInView()
    {
        frmVantu& w = h.Start();
        w.show();
        w.Ui().mnuDetections->trigger();
        return w;
    }

    QString TrashFolder() const { return h.dir.path() + QStringLiteral("/home/data/Trash/files"); }

    // The text of the notice over the picture while it shows, else empty.
    static QString NoticeShown(const frmVantu& w)
    {
        const auto* notice = w.Ui().picDetection->findChild<Notice*>();
        return notice != nullptr && notice->isVisible() ? notice->text() : QString();
    }

    QStringList Listed(const frmVantu& w) const
    {
        QStringList names;
        for (int row = 0; row < w.Ui().filDetections->count(); ++row)
            names << w.Ui().filDetections->item(row)->text();
        return names;
    }

    QStringList OnDisk() const
    {
        return QDir(ImageDirectory()).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    }

    ScopedScriptedDrivers drivers;
    VantuHarness h;
    ScopedTrashHome trash{h.dir.path() + QStringLiteral("/home")};
};
} // namespace

TEST_F(BrowserTest, AnEmptyFolderIsCreatedCountedAndOffersNoSelectAll)
{
    frmVantu& w = StartInView();
    EXPECT_TRUE(QFileInfo(ImageDirectory()).isDir());
    EXPECT_EQ(w.Session().StoredFileCount(), 0);
    EXPECT_FALSE(w.Ui().mnuSelectAll->isEnabled());
    EXPECT_EQ(NextImagePath(w.Settings().ImageDirectory, w.Session().StoredFileCount()),
              ImageDirectory() + QStringLiteral("Detection_1-0.Bmp"));
}

TEST_F(BrowserTest, ListsEveryBitmapInAnyLetterCaseInTheOrderTheyWereTaken)
{
    const QDateTime morning(QDate(2026, 3, 4), QTime(8, 0));
    const struct
    {
        const char* name;
        int secondsLater;
    } files[] = {
        {"Detection_10-0.Bmp", 60}, {"b.BMP", 0}, {"Detection_2-0.Bmp", 60}, {"Detection_1-0.Bmp", 120}};
    for (const auto& file : files)
    {
        AddImage(QLatin1String(file.name));
        SetTaken(QLatin1String(file.name), morning.addSecs(file.secondsLater));
    }
    AddFile(QStringLiteral("notes.txt"), "x");
    QDir().mkpath(ImageDirectory() + QStringLiteral("folder.bmp"));
    frmVantu& w = StartInView();
    EXPECT_EQ(Listed(w),
              (QStringList{"b.BMP", "Detection_10-0.Bmp", "Detection_2-0.Bmp", "Detection_1-0.Bmp"}))
        << "oldest first, the same time by name";
    EXPECT_EQ(w.Session().StoredFileCount(), 4);
    EXPECT_TRUE(w.Ui().mnuSelectAll->isEnabled());
}

TEST_F(BrowserTest, ClipsAreListedWithPicturesOfEveryFormatAndPlayedInTheDesktopsPlayer)
{
    const QDateTime morning(QDate(2026, 3, 4), QTime(8, 0));
    const char* names[] = {"Detection_1-0.Bmp", "Event_2026-03-04_08-00-01.mkv", "Detection_2-0.jpg",
                           "Detection_3-0.png"};
    for (int i = 0; i < 4; ++i)
    {
        AddFile(QLatin1String(names[i]), "x");
        SetTaken(QLatin1String(names[i]), morning.addSecs(i));
    }
    OpenedFiles player;
    frmVantu& w = StartInView();
    QListWidget& list = *w.Ui().filDetections;
    EXPECT_EQ(Listed(w), (QStringList{names[0], names[1], names[2], names[3]}));
    ClickEntry(list, 1);
    EXPECT_TRUE(w.Ui().lblDetectionInfo->text().contains(QStringLiteral("Video clip")));
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(1)).center());
    QTest::keyClick(&list, Qt::Key_Return);
    const QString clip = ImageDirectory() + QLatin1String(names[1]);
    EXPECT_EQ(player.paths, (QStringList{clip, clip})) << "a double click and Enter each play the clip";
}

TEST_F(BrowserTest, ClickingAnEntryShowsThePictureAndWhenItWasCreated)
{
    AddImage(QStringLiteral("Detection_1-0.Bmp"), Qt::blue);
    const QDateTime created(QDate(2026, 3, 4), QTime(5, 6, 7));
    SetTaken(QStringLiteral("Detection_1-0.Bmp"), created);
    frmVantu& w = StartInView();
    ClickEntry(*w.Ui().filDetections, 0);
    EXPECT_TRUE(w.Ui().mnuDelete->isEnabled());
    EXPECT_EQ(w.Ui().lblDetectionInfo->text(), QStringLiteral("Created: ") + GeneralDate(created));
    EXPECT_EQ(w.Ui().picDetection->pixmap().toImage().pixel(0, 0), QColor(Qt::blue).rgb());
}

TEST_F(BrowserTest, ABrokenImageSaysSoAndKeepsWhatWasShown)
{
    AddImage(QStringLiteral("a.bmp"), Qt::green);
    AddFile(QStringLiteral("b.bmp"), "BM this is not a bitmap");
    frmVantu& w = StartInView();
    ClickEntry(*w.Ui().filDetections, 0);
    const QString shownInfo = w.Ui().lblDetectionInfo->text();
    ClickEntry(*w.Ui().filDetections, 1);
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.shown[0].Prompt,
              QStringLiteral("There was an error with this image file.  Please verify "
                             "it's authenticity, and try again."));
    EXPECT_EQ(h.messages.shown[0].Title, QStringLiteral("Error"));
    EXPECT_EQ(h.messages.shown[0].Style, MsgBoxStyle::OkOnly);
    EXPECT_TRUE(w.Ui().mnuDelete->isEnabled());
    EXPECT_EQ(w.Ui().lblDetectionInfo->text(), shownInfo);
    EXPECT_EQ(w.Ui().picDetection->pixmap().toImage().pixel(0, 0), QColor(Qt::green).rgb());
}

TEST_F(BrowserTest, SelectAllThenDeleteRemovesEveryImage)
{
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"})
        AddImage(QLatin1String(name));
    frmVantu& w = StartInView();
    AddImage(QStringLiteral("d.bmp")); // arrives after the list was filled: Select All refreshes first
    w.Ui().mnuSelectAll->trigger();
    EXPECT_EQ(w.Ui().filDetections->selectedItems().size(), 4);
    EXPECT_EQ(w.Ui().filDetections->currentRow(), 3);
    EXPECT_TRUE(w.Ui().lblDetectionInfo->text().startsWith(QStringLiteral("Created: ")));
    // A new account has no data folder yet: the Trash is made with it.
    ASSERT_TRUE(QDir(h.dir.path() + QStringLiteral("/home/data")).removeRecursively());
    w.Ui().mnuDelete->trigger();
    EXPECT_TRUE(OnDisk().isEmpty());
    EXPECT_EQ(QDir(TrashFolder()).entryList(QDir::Files).size(), 4) << "the user can bring them back";
    EXPECT_TRUE(h.messages.shown.empty()) << "nothing to ask";
    EXPECT_EQ(NoticeShown(w), QStringLiteral("4 pictures moved to the Trash"));
    EXPECT_EQ(w.Ui().filDetections->count(), 0);
    EXPECT_EQ(w.Session().StoredFileCount(), 0);
    EXPECT_FALSE(w.Ui().mnuDelete->isEnabled());
    EXPECT_TRUE(w.Ui().picDetection->pixmap().isNull());
    EXPECT_EQ(w.Ui().lblDetectionInfo->text(), QString());
}

TEST_F(BrowserTest, DeleteRemovesOnlySelectedEntriesUpToTheCurrentOne)
{
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp", "d.bmp", "e.bmp"})
        AddImage(QLatin1String(name));
    frmVantu& w = StartInView();
    // e clicked, then a, d and c with Ctrl: c is current.
    QListWidget& list = *w.Ui().filDetections;
    ClickEntry(list, 4);
    for (const int row : {0, 3, 2})
        ClickEntry(list, row, Qt::ControlModifier);
    w.Ui().mnuDelete->trigger();
    EXPECT_EQ(OnDisk(), (QStringList{"b.bmp", "d.bmp", "e.bmp"}));
    EXPECT_EQ(Listed(w), OnDisk());
}

TEST_F(BrowserTest, DeleteWithoutACurrentEntryOnlyResetsTheView)
{
    AddImage(QStringLiteral("a.bmp"));
    frmVantu& w = StartInView();
    w.Ui().filDetections->setCurrentRow(0);
    w.Ui().filDetections->setCurrentItem(nullptr);
    w.Ui().mnuDelete->setEnabled(true);
    w.Ui().mnuDelete->trigger();
    EXPECT_EQ(OnDisk(), QStringList{"a.bmp"});
    EXPECT_FALSE(w.Ui().mnuDelete->isEnabled());
    EXPECT_TRUE(w.Ui().picDetection->pixmap().isNull());
    EXPECT_EQ(w.Ui().lblDetectionInfo->text(), QString());
}

TEST_F(BrowserTest, DeleteOutsideViewModeDoesNothing)
{
    AddImage(QStringLiteral("a.bmp"));
    frmVantu& w = StartInView();
    w.Ui().mnuSelectAll->trigger();
    w.ChangeMode(ModePreview);
    w.Ui().mnuDelete->setEnabled(true); // reached through the list's own popup
    w.Ui().mnuDelete->trigger();
    EXPECT_EQ(OnDisk(), QStringList{"a.bmp"});
}

TEST_F(BrowserTest, ARightClickOnTheListOpensTheDetectionsMenu)
{
    frmVantu& w = StartInView();
    w.show();
    QWidget* viewport = w.Ui().filDetections->viewport();
    QMouseEvent left(QEvent::MouseButtonPress, QPointF(5, 5), viewport->mapToGlobal(QPointF(5, 5)),
                     Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &left);
    EXPECT_FALSE(w.Ui().mnuDetection->isVisible());
    QMouseEvent right(QEvent::MouseButtonPress, QPointF(5, 5), viewport->mapToGlobal(QPointF(5, 5)),
                      Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &right);
    EXPECT_TRUE(w.Ui().mnuDetection->isVisible());
    EXPECT_FALSE(w.Ui().mnuSelectAll->isEnabled()) << "the menu opening checks the list";
    w.Ui().mnuDetection->close();
}

TEST_F(BrowserTest, ARightClickKeepsTheCurrentEntryAndTheSelection)
{
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"})
        AddImage(QLatin1String(name));
    frmVantu& w = StartInView();
    w.show();
    w.Ui().mnuSelectAll->trigger();
    QListWidget* list = w.Ui().filDetections;
    const QPoint second = list->visualItemRect(list->item(1)).center();
    QMouseEvent right(QEvent::MouseButtonPress, second, list->viewport()->mapToGlobal(second),
                      Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list->viewport(), &right);
    EXPECT_TRUE(w.Ui().mnuDetection->isVisible());
    w.Ui().mnuDetection->close();
    EXPECT_EQ(list->currentRow(), 2);
    EXPECT_EQ(list->selectedItems().size(), 3);
    w.Ui().mnuDelete->trigger();
    EXPECT_TRUE(OnDisk().isEmpty()) << "Delete from the popup removes every selected image";
}

TEST_F(BrowserTest, AFileThatCannotBeDeletedIsReportedOnceAndTheListRefreshed)
{
    for (const char* name : {"a.bmp", "b.bmp"})
        AddImage(QLatin1String(name));
    frmVantu& w = StartInView();
    w.Ui().mnuSelectAll->trigger();
    // Once listed, a.bmp turns into a folder that holds a file: removing it as a file fails for
    // every user, and the temporary folder still cleans it up.
    const QString blocked = ImageDirectory() + QStringLiteral("a.bmp");
    ASSERT_TRUE(QFile::remove(blocked));
    ASSERT_TRUE(QDir().mkpath(blocked + QStringLiteral("/inside")));
    w.Ui().mnuDelete->trigger();
    EXPECT_TRUE(OnDisk().isEmpty()) << "b.bmp is deleted";
    EXPECT_EQ(NoticeShown(w), QStringLiteral("1 picture moved to the Trash"));
    EXPECT_TRUE(QFileInfo(blocked).isDir());
    EXPECT_TRUE(Listed(w).isEmpty()) << "the list holds the image files left";
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_TRUE(h.messages.shown[0].Prompt.contains(QStringLiteral("a.bmp")));
}

TEST_F(BrowserTest, WithoutATrashDeleteAsksBeforeDeletingForGood)
{
    for (const MsgBoxResult answer : {MsgBoxResult::No, MsgBoxResult::Yes})
    {
        SCOPED_TRACE(answer);
        for (const char* name : {"a.bmp", "b.bmp"})
            AddImage(QLatin1String(name));
        // A file where the data folder should be leaves no place for a Trash; a missing folder would be made.
        ASSERT_TRUE(QDir(h.dir.path() + QStringLiteral("/home/data")).removeRecursively());
        ASSERT_TRUE(WriteTestFile(h.dir.path() + QStringLiteral("/home/data"), "in the way"));
        frmVantu& w = StartInView();
        w.Ui().mnuSelectAll->trigger();
        h.messages.shown.clear();
        h.messages.answers = {answer};
        w.Ui().mnuDelete->trigger();
        ASSERT_EQ(h.messages.shown.size(), 1u);
        EXPECT_EQ(h.messages.shown[0].Style, MsgBoxStyle::YesNo | MsgBoxStyle::Exclamation);
        EXPECT_TRUE(h.messages.shown[0].Prompt.startsWith(QStringLiteral("2 pictures ")));
        EXPECT_TRUE(h.messages.shown[0].Prompt.contains(QStringLiteral("deleted for good")));
        EXPECT_EQ(OnDisk().size(), answer == MsgBoxResult::No ? 2 : 0);
        EXPECT_EQ(Listed(w), OnDisk());
        EXPECT_EQ(NoticeShown(w), QString());
        EXPECT_TRUE(QFileInfo(h.dir.path() + QStringLiteral("/home/data")).isFile()) << "no Trash made";
        ASSERT_TRUE(QFile::remove(h.dir.path() + QStringLiteral("/home/data")));
    }
}

TEST_F(BrowserTest, OnlyTheUsersChoiceOfAnEntryViewsIt)
{
    AddImage(QStringLiteral("a.bmp"), Qt::red);
    AddImage(QStringLiteral("b.bmp"), Qt::green);
    AddImage(QStringLiteral("c.bmp"), Qt::blue);
    frmVantu& w = h.Start();
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.Ui().mnuDetections->trigger();
    QListWidget& list = *w.Ui().filDetections;
    list.setFocus();
    ASSERT_EQ(list.currentRow(), 0) << "the list makes its first entry current as it gets the focus";
    EXPECT_FALSE(w.Ui().mnuDelete->isEnabled());
    EXPECT_EQ(w.Ui().lblDetectionInfo->text(), QString());

    ClickEntry(list, 0);
    EXPECT_TRUE(w.Ui().mnuDelete->isEnabled());
    EXPECT_EQ(w.Ui().lblDetectionInfo->text(),
              QStringLiteral("Created: ") +
                  GeneralDate(QFileInfo(ImageDirectory() + "a.bmp").lastModified()));
    QTest::keyClick(&list, Qt::Key_End);
    EXPECT_EQ(list.currentRow(), 2);
    EXPECT_EQ(w.Ui().picDetection->pixmap().toImage().pixel(0, 0), QColor(Qt::blue).rgb());
    ClickEntry(list, 0);
    w.ChangeMode(ModePreview);
    w.Ui().mnuDetections->trigger();
    EXPECT_FALSE(w.Ui().mnuDelete->isEnabled()) << "a mode change chooses nothing";
}

TEST_F(BrowserTest, DetectionsModeKeepsTheSizeAndPlaceTheUserGaveIt)
{
    CaptureConfig config(h.AppFile(QStringLiteral("Vantu.Capture")));
    drivers.List()->Config = &config;
    frmVantu& w = StartInView();
    const QSize design = w.size();
    w.resize(design + QSize(120, 80));
    w.move(40, 50);
    w.ChangeMode(ModePreview);
    w.Ui().mnuDetections->trigger();
    EXPECT_EQ(w.size(), design + QSize(120, 80));
    EXPECT_EQ(w.pos(), QPoint(40, 50));

    h.window.reset(); // the next run
    CaptureConfig read(h.AppFile(QStringLiteral("Vantu.Capture")));
    drivers.List()->Config = &read;
    EXPECT_EQ(StartInView().size(), design + QSize(120, 80));

    h.window.reset();
    QString error;
    ASSERT_TRUE(read.SetValue(QStringLiteral("browser/geometry"), QStringLiteral("0,0,9000,9000"), &error));
    EXPECT_EQ(StartInView().size(), design) << "a size larger than the screen gives way to the design size";
}

#include "store/DetectionStore.h"
#include "support/ScriptedDriver.h"
#include "support/VantuHarness.h"
#include "ui/DateText.h"

#include <QAction>
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
        w.Ui().mnuDetections->trigger();
        return w;
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

TEST_F(BrowserTest, ClickingAnEntryShowsThePictureAndWhenItWasCreated)
{
    AddImage(QStringLiteral("Detection_1-0.Bmp"), Qt::blue);
    const QDateTime created(QDate(2026, 3, 4), QTime(5, 6, 7));
    {
        QFile file(ImageDirectory() + QStringLiteral("Detection_1-0.Bmp"));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(created, QFileDevice::FileModificationTime));
    }
    frmVantu& w = StartInView();
    EXPECT_FALSE(w.Ui().mnuDelete->isEnabled());
    w.Ui().filDetections->setCurrentRow(0);
    EXPECT_TRUE(w.Ui().mnuDelete->isEnabled());
    EXPECT_EQ(w.Ui().lblDetectionInfo->text(), QStringLiteral("Created: ") + GeneralDate(created));
    EXPECT_EQ(w.Ui().picDetection->pixmap().toImage().pixel(0, 0), QColor(Qt::blue).rgb());
}

TEST_F(BrowserTest, ABrokenImageSaysSoAndKeepsWhatWasShown)
{
    AddImage(QStringLiteral("a.bmp"), Qt::green);
    AddFile(QStringLiteral("b.bmp"), "BM this is not a bitmap");
    frmVantu& w = StartInView();
    w.Ui().filDetections->setCurrentRow(0);
    const QString shownInfo = w.Ui().lblDetectionInfo->text();
    w.Ui().filDetections->setCurrentRow(1);
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
    w.Ui().mnuDelete->trigger();
    EXPECT_TRUE(OnDisk().isEmpty());
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
    // A selection extended upwards from e to c, then a with Ctrl: c is current.
    QListWidget* list = w.Ui().filDetections;
    list->setCurrentRow(4);
    list->setCurrentRow(0, QItemSelectionModel::Select);
    list->setCurrentRow(3, QItemSelectionModel::Select);
    list->setCurrentRow(2, QItemSelectionModel::Select);
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
    EXPECT_TRUE(QFileInfo(blocked).isDir());
    EXPECT_TRUE(Listed(w).isEmpty()) << "the list holds the image files left";
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_TRUE(h.messages.shown[0].Prompt.contains(QStringLiteral("a.bmp")));
}

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
#include <cstdlib>
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
        w.ui.mnuDetections->trigger();
        return w;
    }

    QStringList Listed(const frmVantu& w) const
    {
        QStringList names;
        for (int row = 0; row < w.ui.filDetections->count(); ++row)
            names << w.ui.filDetections->item(row)->text();
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
    EXPECT_EQ(w.StoredFileCount, 0);
    EXPECT_FALSE(w.ui.mnuSelectAll->isEnabled());
    EXPECT_EQ(NextImagePath(w.Vars.Settings.ImageDirectory, w.StoredFileCount),
              ImageDirectory() + QStringLiteral("Detection_1-0.Bmp"));
}

TEST_F(BrowserTest, ListsEveryBitmapInAnyLetterCaseSortedByName)
{
    AddImage(QStringLiteral("Detection_2-0.Bmp"));
    AddImage(QStringLiteral("b.BMP"));
    AddImage(QStringLiteral("Detection_10-0.Bmp"));
    AddFile(QStringLiteral("notes.txt"), "x");
    QDir().mkpath(ImageDirectory() + QStringLiteral("folder.bmp"));
    frmVantu& w = StartInView();
    EXPECT_EQ(Listed(w), (QStringList{"b.BMP", "Detection_10-0.Bmp", "Detection_2-0.Bmp"}));
    EXPECT_EQ(w.StoredFileCount, 3);
    EXPECT_TRUE(w.ui.mnuSelectAll->isEnabled());
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
    EXPECT_FALSE(w.ui.mnuDelete->isEnabled());
    w.ui.filDetections->setCurrentRow(0);
    EXPECT_TRUE(w.ui.mnuDelete->isEnabled());
    EXPECT_EQ(w.ui.lblDetectionInfo->text(), QStringLiteral("Created: ") + GeneralDate(created));
    EXPECT_EQ(w.ui.picDetection->pixmap().toImage().pixel(0, 0), QColor(Qt::blue).rgb());
}

TEST_F(BrowserTest, ABrokenImageSaysSoAndKeepsWhatWasShown)
{
    AddImage(QStringLiteral("a.bmp"), Qt::green);
    AddFile(QStringLiteral("b.bmp"), "BM this is not a bitmap");
    frmVantu& w = StartInView();
    w.ui.filDetections->setCurrentRow(0);
    const QString shownInfo = w.ui.lblDetectionInfo->text();
    w.ui.filDetections->setCurrentRow(1);
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.shown[0].Prompt,
              QStringLiteral("There was an error with this image file.  Please verify "
                             "it's authenticity, and try again."));
    EXPECT_EQ(h.messages.shown[0].Title, QStringLiteral("Error"));
    EXPECT_EQ(h.messages.shown[0].Style, MsgBoxStyle::OkOnly);
    EXPECT_TRUE(w.ui.mnuDelete->isEnabled());
    EXPECT_EQ(w.ui.lblDetectionInfo->text(), shownInfo);
    EXPECT_EQ(w.ui.picDetection->pixmap().toImage().pixel(0, 0), QColor(Qt::green).rgb());
}

TEST_F(BrowserTest, SelectAllThenDeleteRemovesEveryImage)
{
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"})
        AddImage(QLatin1String(name));
    frmVantu& w = StartInView();
    AddImage(QStringLiteral("d.bmp")); // arrives after the list was filled: Select All refreshes first
    w.ui.mnuSelectAll->trigger();
    EXPECT_EQ(w.ui.filDetections->selectedItems().size(), 4);
    EXPECT_EQ(w.ui.filDetections->currentRow(), 3);
    EXPECT_TRUE(w.ui.lblDetectionInfo->text().startsWith(QStringLiteral("Created: ")));
    w.ui.mnuDelete->trigger();
    EXPECT_TRUE(OnDisk().isEmpty());
    EXPECT_EQ(w.ui.filDetections->count(), 0);
    EXPECT_EQ(w.StoredFileCount, 0);
    EXPECT_FALSE(w.ui.mnuDelete->isEnabled());
    EXPECT_TRUE(w.ui.picDetection->pixmap().isNull());
    EXPECT_EQ(w.ui.lblDetectionInfo->text(), QString());
}

TEST_F(BrowserTest, DeleteRemovesOnlySelectedEntriesUpToTheCurrentOne)
{
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp", "d.bmp", "e.bmp"})
        AddImage(QLatin1String(name));
    frmVantu& w = StartInView();
    // A selection extended upwards from e to c, then a with Ctrl: c is current.
    QListWidget* list = w.ui.filDetections;
    list->setCurrentRow(4);
    list->setCurrentRow(0, QItemSelectionModel::Select);
    list->setCurrentRow(3, QItemSelectionModel::Select);
    list->setCurrentRow(2, QItemSelectionModel::Select);
    w.ui.mnuDelete->trigger();
    EXPECT_EQ(OnDisk(), (QStringList{"b.bmp", "d.bmp", "e.bmp"}));
    EXPECT_EQ(Listed(w), OnDisk());
}

TEST_F(BrowserTest, DeleteWithoutACurrentEntryOnlyResetsTheView)
{
    AddImage(QStringLiteral("a.bmp"));
    frmVantu& w = StartInView();
    w.ui.filDetections->setCurrentRow(0);
    w.ui.filDetections->setCurrentItem(nullptr);
    w.ui.mnuDelete->setEnabled(true);
    w.ui.mnuDelete->trigger();
    EXPECT_EQ(OnDisk(), QStringList{"a.bmp"});
    EXPECT_FALSE(w.ui.mnuDelete->isEnabled());
    EXPECT_TRUE(w.ui.picDetection->pixmap().isNull());
    EXPECT_EQ(w.ui.lblDetectionInfo->text(), QString());
}

TEST_F(BrowserTest, DeleteOutsideViewModeDoesNothing)
{
    AddImage(QStringLiteral("a.bmp"));
    frmVantu& w = StartInView();
    w.ui.mnuSelectAll->trigger();
    w.ChangeMode(ModePreview);
    w.ui.mnuDelete->setEnabled(true); // reached through the list's own popup
    w.ui.mnuDelete->trigger();
    EXPECT_EQ(OnDisk(), QStringList{"a.bmp"});
}

TEST_F(BrowserTest, ARightClickOnTheListOpensTheDetectionsMenu)
{
    frmVantu& w = StartInView();
    w.show();
    QWidget* viewport = w.ui.filDetections->viewport();
    QMouseEvent left(QEvent::MouseButtonPress, QPointF(5, 5), viewport->mapToGlobal(QPointF(5, 5)),
                     Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &left);
    EXPECT_FALSE(w.ui.mnuDetection->isVisible());
    QMouseEvent right(QEvent::MouseButtonPress, QPointF(5, 5), viewport->mapToGlobal(QPointF(5, 5)),
                      Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &right);
    EXPECT_TRUE(w.ui.mnuDetection->isVisible());
    EXPECT_FALSE(w.ui.mnuSelectAll->isEnabled()) << "the menu opening checks the list";
    w.ui.mnuDetection->close();
}

TEST_F(BrowserTest, AFileThatCannotBeDeletedIsReportedOnceAndTheListRefreshed)
{
    for (const char* name : {"a.bmp", "b.bmp"})
        AddImage(QLatin1String(name));
    // A file marked immutable cannot be removed, even by the superuser.
    const QByteArray locked = QFile::encodeName(ImageDirectory() + QStringLiteral("a.bmp"));
    if (std::system(("chattr +i '" + locked + "' 2>/dev/null").constData()) != 0)
        GTEST_SKIP() << "this file system cannot mark a file immutable";
    frmVantu& w = StartInView();
    w.ui.mnuSelectAll->trigger();
    w.ui.mnuDelete->trigger();
    std::system(("chattr -i '" + locked + "'").constData());
    EXPECT_EQ(OnDisk(), QStringList{"a.bmp"});
    EXPECT_EQ(Listed(w), QStringList{"a.bmp"});
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_TRUE(h.messages.shown[0].Prompt.contains(QStringLiteral("a.bmp")));
}

TEST_F(BrowserTest, AnImageFolderThatVanishesEndsTheProgramAtTheNextRefresh)
{
    SettingsRecord s;
    s.ImageDirectory = h.dir.path() + QStringLiteral("/elsewhere/");
    QDir().mkpath(s.ImageDirectory);
    h.WriteSettings(s);
    frmVantu& w = h.Start();
    ASSERT_FALSE(w.IsUnloaded());
    QDir(s.ImageDirectory).removeRecursively();
    w.ui.mnuDetections->trigger();
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.shown[0].Title, QStringLiteral("Error!"));
    EXPECT_TRUE(w.IsUnloaded());
}

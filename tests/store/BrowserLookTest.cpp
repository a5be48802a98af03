#include "app/DetectionItemDelegate.h"
#include "support/BrowserSupport.h"
#include "support/ScriptedDriver.h"
#include "support/VantuHarness.h"
#include "ui/DateText.h"
#include "ui/PictureWindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QListWidget>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>

namespace
{
class BrowserLookTest : public ::testing::Test
{
protected:
    QString ImageDirectory() const { return h.dir.path() + QStringLiteral("/Detections/"); }

    void AddImage(const QString& name, QSize size = QSize(80, 60))
    {
        QDir().mkpath(ImageDirectory());
        QImage image(size, QImage::Format_RGB888);
        image.fill(Qt::darkCyan);
        ASSERT_TRUE(image.save(ImageDirectory() + name, "BMP"));
    }

    // The window on screen in View mode, as a user has it.
    frmVantu& ShowInView()
    {
        frmVantu& w = h.Start();
        w.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
        w.Ui().mnuDetections->trigger();
        QCoreApplication::processEvents();
        return w;
    }

    ScopedScriptedDrivers drivers;
    VantuHarness h;
    ScopedTrashHome trash{h.dir.path() + QStringLiteral("/home")};
};
} // namespace

TEST_F(BrowserLookTest, KeepsTheDesignPlacesAtTheDesignSizeAndGrowsBeyondIt)
{
    AddImage(QStringLiteral("Detection_1234-56.Bmp"), QSize(120, 40));
    frmVantu& w = h.Start();
    const QRect list = w.Ui().filDetections->geometry();
    const QRect picture = w.Ui().picDetection->geometry();
    const QRect info = w.Ui().lblDetectionInfo->geometry();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.Ui().mnuDetections->trigger();
    EXPECT_EQ(w.Ui().filDetections->geometry(), list);
    EXPECT_EQ(w.Ui().picDetection->geometry(), picture);
    EXPECT_EQ(w.Ui().lblDetectionInfo->geometry(), info);

    w.resize(w.size() + QSize(400, 200));
    QCoreApplication::processEvents();
    ClickEntry(*w.Ui().filDetections, 0);
    const QRect grownList = w.Ui().filDetections->geometry();
    const QRect grownPicture = w.Ui().picDetection->geometry();
    const QRect grownInfo = w.Ui().lblDetectionInfo->geometry();
    EXPECT_EQ(grownList.height(), list.height() + 200);
    EXPECT_EQ(grownPicture.height(), picture.height() + 200);
    EXPECT_EQ(grownPicture.width() + grownList.width(), picture.width() + list.width() + 400);
    EXPECT_GE(w.Ui().filDetections->viewport()->width(), w.Ui().filDetections->sizeHintForColumn(0))
        << "the whole name shows";
    EXPECT_EQ(grownInfo.top() - grownPicture.bottom(), info.top() - picture.bottom());
    EXPECT_LE(grownInfo.right(), w.centralWidget()->width());

    // The picture fills its area as far as its proportions (3 to 1) allow, centred.
    const QRect shown = w.Ui().picDetection->PictureRect();
    EXPECT_EQ(shown.width(), w.Ui().picDetection->contentsRect().width());
    EXPECT_NEAR(shown.height(), shown.width() / 3, 1);
    EXPECT_NEAR(shown.center().y(), w.Ui().picDetection->contentsRect().center().y(), 1);
}

TEST_F(BrowserLookTest, EntriesShowTheirTimeAndAnEmptyFolderSaysWhereItLooks)
{
    frmVantu& w = ShowInView();
    EXPECT_EQ(w.Ui().picDetection->EmptyNote(),
              QStringLiteral("No pictures yet\n") + QDir::toNativeSeparators(ImageDirectory()));

    AddImage(QStringLiteral("Detection_1-0.Bmp"));
    w.Ui().mnuDetections->trigger(); // the list is filled again
    EXPECT_EQ(w.Ui().picDetection->EmptyNote(), QString());
    const auto* delegate = qobject_cast<DetectionItemDelegate*>(w.Ui().filDetections->itemDelegate());
    ASSERT_NE(delegate, nullptr);
    const QDateTime saved = QFileInfo(ImageDirectory() + QStringLiteral("Detection_1-0.Bmp")).lastModified();
    EXPECT_EQ(delegate->EntryText(QStringLiteral("Detection_1-0.Bmp")),
              QStringLiteral("Detection_1-0.Bmp") + QChar(QChar::LineSeparator) + GeneralDate(saved));
}

TEST_F(BrowserLookTest, ADoubleClickOpensThePictureAtFullSizeInAWindowOfItsOwn)
{
    AddImage(QStringLiteral("Detection_1-0.Bmp"), QSize(320, 240));
    frmVantu& w = ShowInView();
    QTest::mouseDClick(w.Ui().picDetection, Qt::LeftButton);
    EXPECT_TRUE(w.findChildren<PictureWindow*>().isEmpty()) << "no picture is shown yet";

    ClickEntry(*w.Ui().filDetections, 0);
    QTest::mouseDClick(w.Ui().picDetection, Qt::LeftButton);
    const QList<PictureWindow*> opened = w.findChildren<PictureWindow*>();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened[0]->isWindow() && opened[0]->isVisible());
    EXPECT_EQ(opened[0]->windowTitle(), QStringLiteral("Detection_1-0.Bmp"));
    const auto* full = opened[0]->findChild<QLabel*>(QStringLiteral("picFullSize"));
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(full->pixmap().size(), QSize(320, 240));
}

TEST_F(BrowserLookTest, TheDeleteKeyInTheListDeletesTheSelectedPictures)
{
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"})
        AddImage(QLatin1String(name));
    frmVantu& w = ShowInView();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QListWidget* list = w.Ui().filDetections;
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(QDir(ImageDirectory()).entryList(QDir::Files), (QStringList{"a.bmp", "c.bmp"}));
    EXPECT_EQ(list->count(), 2);
}

TEST_F(BrowserLookTest, TheFullSizeWindowOpensCentredAndStepsThroughThePicturesWithTheKeys)
{
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"})
        AddImage(QLatin1String(name));
    frmVantu& w = ShowInView();
    QListWidget& list = *w.Ui().filDetections;
    ClickEntry(list, 1);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, Qt::NoModifier,
                       list.visualItemRect(list.item(1)).center());
    const QList<PictureWindow*> opened = w.findChildren<PictureWindow*>();
    ASSERT_EQ(opened.size(), 1);
    const QPointer<PictureWindow> opening = opened[0];
    PictureWindow& full = *opening;
    EXPECT_LE((full.frameGeometry().center() - w.frameGeometry().center()).manhattanLength(), 1);
    const struct
    {
        Qt::Key key;
        const char* shown;
    } steps[] = {{Qt::Key_Right, "c.bmp"},
                 {Qt::Key_PageDown, "c.bmp"},
                 {Qt::Key_Left, "b.bmp"},
                 {Qt::Key_PageUp, "a.bmp"},
                 {Qt::Key_Left, "a.bmp"}};
    for (const auto& step : steps)
    {
        QTest::keyClick(&full, step.key);
        EXPECT_EQ(full.windowTitle(), QLatin1String(step.shown)) << "after key " << step.key;
        EXPECT_EQ(list.currentItem()->text(), QLatin1String(step.shown));
    }
    QTest::keyClick(&full, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(opening.isNull()) << "Esc closes it";
}

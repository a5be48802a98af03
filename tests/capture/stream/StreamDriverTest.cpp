#include "capture/stream/module/StreamDriver.h"
#include "capture/stream/StreamDriverEntry.h"
#include "capture/stream/StreamFormatDialog.h"
#include "capture/stream/StreamSourceDialog.h"
#include "capture/stream/module/StreamDriverDialogs.h"
#include "support/Fakes.h"
#include "support/StreamClipWriter.h"
#include "support/StreamDriverEvents.h"
#include "support/StreamFixture.h"
#include "support/StreamModalDialog.h"
#include "support/TestFiles.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace
{
class StreamDriverTest : public StreamFixture
{
protected:
    FakeMessageBox messages_;
};

// Files played as fast as they decode, for tests that do not look at the pace.
const StreamDriverTiming Unpaced{std::chrono::milliseconds(1000), false};

StreamClip MakeClip(const QString& container, StreamClipCodec codec, QSize size, int frames = 40,
                    int rate = 200)
{
    StreamClip clip;
    clip.Container = container;
    clip.Codec = codec;
    clip.FramesPerSecond = rate;
    clip.Parts = {StreamClipPart{size, frames, Qt::red, Qt::blue}};
    return clip;
}

// The colour at (x, y) counted from the top, within the tolerance that lossy coding leaves.
void ExpectColour(const DibFrame& frame, int x, int y, const QColor& colour)
{
    const std::uint8_t* pixel = frame.TopDownRow(y) + x * 3;
    EXPECT_NEAR(pixel[0], colour.blue(), 24) << "blue at " << x << "," << y;
    EXPECT_NEAR(pixel[1], colour.green(), 24) << "green at " << x << "," << y;
    EXPECT_NEAR(pixel[2], colour.red(), 24) << "red at " << x << "," << y;
}

void ExpectPicture(const DibFrame& frame, QSize size, const QColor& top, const QColor& bottom)
{
    ASSERT_EQ(QSize(frame.Width, frame.Height), size);
    ASSERT_EQ(frame.Bits.size(), static_cast<std::size_t>(DibFrame::StrideFor(size.width()) * size.height()));
    const int split = StreamClipSplitRow(size.height());
    ExpectColour(frame, size.width() / 2, split / 2, top);
    ExpectColour(frame, size.width() / 2, (split + size.height()) / 2, bottom);
}

DibFrame TakeOne(StreamDriver& driver)
{
    DibFrame frame;
    EXPECT_TRUE(StreamWaitUntil([&] { return driver.TakeFrame(frame); })) << "no frame arrived";
    return frame;
}
} // namespace

TEST_F(StreamDriverTest, OpensClipsAndKnowsTheirSizeOnceLive)
{
    const std::pair<StreamClip, QString> clips[] = {
        {MakeClip(QStringLiteral("avi"), StreamClipCodec::Mpeg4, QSize(64, 48)), QStringLiteral("a.avi")},
        {MakeClip(QStringLiteral("matroska"), StreamClipCodec::Mjpeg, QSize(66, 50)),
         QStringLiteral("b.mkv")},
        {MakeClip(QStringLiteral("matroska"), StreamClipCodec::Mpeg4, QSize(96, 64)),
         QStringLiteral("c.mkv")},
    };
    for (const auto& [clip, name] : clips)
    {
        Set(StreamLocationKey, WriteClip(name, clip));
        StreamDriver driver(*config_);
        StreamDriverEvents events(driver);
        ASSERT_TRUE(StreamOpenSettled(driver, events)) << events.State().Reason.toStdString();
        EXPECT_EQ(driver.FrameSize(), clip.Parts[0].Size) << name.toStdString();
    }
}

TEST_F(StreamDriverTest, FramesAreBottomUpBgrRowsWithZeroPadding)
{
    const std::pair<StreamClip, QString> clips[] = {
        {MakeClip(QStringLiteral("avi"), StreamClipCodec::Mpeg4, QSize(64, 48)), QStringLiteral("a.avi")},
        {MakeClip(QStringLiteral("matroska"), StreamClipCodec::Mjpeg, QSize(66, 50)),
         QStringLiteral("b.mkv")},
    };
    for (const auto& [clip, name] : clips)
    {
        SCOPED_TRACE(name.toStdString());
        Set(StreamLocationKey, WriteClip(name, clip));
        StreamDriver driver(*config_);
        ASSERT_TRUE(driver.Open());
        const DibFrame frame = TakeOne(driver);
        const QSize size = clip.Parts[0].Size;
        ExpectPicture(frame, size, Qt::red, Qt::blue);
        // The first bytes in memory are the bottom row, blue first in each pixel.
        EXPECT_GT(frame.Bits[0], 200);
        EXPECT_LT(frame.Bits[2], 60);
        const std::size_t topRow = static_cast<std::size_t>(frame.Stride()) * (size.height() - 1);
        EXPECT_LT(frame.Bits[topRow], 60);
        EXPECT_GT(frame.Bits[topRow + 2], 200);
        for (int y = 0; y < frame.Height; ++y)
            for (int x = frame.Width * 3; x < frame.Stride(); ++x)
                ASSERT_EQ(frame.TopDownRow(y)[x], 0) << "padding of row " << y;
    }
}

TEST_F(StreamDriverTest, FilePlaysOnceDeliversEveryFrameAndThenNoMore)
{
    Set(StreamLocationKey, WriteClip(QStringLiteral("door.avi"),
                                     MakeClip(QStringLiteral("avi"), StreamClipCodec::Mpeg4, QSize(64, 48))));
    StreamDriver driver(*config_);
    StreamDriverEvents events(driver);
    ASSERT_TRUE(driver.Open());
    ASSERT_TRUE(StreamWaitUntil([&] { return events.HasNotice(StreamDriver::NoticeEndOfFile); }));
    EXPECT_TRUE(events.Errors.empty());
    EXPECT_EQ(events.Frames, 40);
    EXPECT_TRUE(events.Notices.back().second.contains(QStringLiteral("door.avi")));

    DibFrame frame;
    ASSERT_TRUE(driver.TakeFrame(frame));
    EXPECT_EQ(frame.Sequence, 40u); // the newest frame is the clip's last
    EXPECT_FALSE(driver.TakeFrame(frame));
    EXPECT_EQ(driver.FrameSize(), QSize(64, 48));
}

TEST_F(StreamDriverTest, FilePlaysAtItsOwnFrameRate)
{
    // 16 frames at 20 per second: the last one is due 750 ms after the first.
    Set(StreamLocationKey,
        WriteClip(QStringLiteral("slow.avi"),
                  MakeClip(QStringLiteral("avi"), StreamClipCodec::Mpeg4, QSize(64, 48), 16, 20)));
    StreamDriver driver(*config_);
    StreamDriverEvents events(driver);
    QElapsedTimer played;
    played.start();
    ASSERT_TRUE(driver.Open());
    ASSERT_TRUE(StreamWaitUntil([&] { return events.HasNotice(StreamDriver::NoticeEndOfFile); }));
    EXPECT_GE(played.elapsed(), 650);
    EXPECT_LT(played.elapsed(), 5000);
    EXPECT_EQ(events.Frames, 16);
}

TEST_F(StreamDriverTest, LocationsThatAreNotVideosAreLostForGood)
{
    const QString text = folder_.filePath(QStringLiteral("notes.txt"));
    ASSERT_TRUE(WriteTestFile(text, "This is not a video, just a note.\n"));
    const QString empty = folder_.filePath(QStringLiteral("empty.avi"));
    ASSERT_TRUE(WriteTestFile(empty, {}));
    const QString noise = folder_.filePath(QStringLiteral("noise.avi"));
    QByteArray bytes(65536, '\0');
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>((i * 2654435761u) >> 24);
    ASSERT_TRUE(WriteTestFile(noise, bytes));

    const QString locations[] = {folder_.filePath(QStringLiteral("missing.avi")), text, empty, noise,
                                 folder_.path()};
    for (const QString& location : locations)
    {
        Set(StreamLocationKey, location);
        StreamDriver driver(*config_);
        StreamDriverEvents events(driver);
        EXPECT_FALSE(StreamOpenSettled(driver, events)) << location.toStdString();
        EXPECT_EQ(events.State().Status, SourceStatus::Lost);
        EXPECT_FALSE(events.State().Reason.isEmpty()) << location.toStdString();
        EXPECT_EQ(events.State().NextTrySeconds, 0) << "a file is not tried again";
        DibFrame frame;
        EXPECT_FALSE(driver.TakeFrame(frame));
    }
}

TEST_F(StreamDriverTest, CloseIsPromptDuringPlaybackSafeTwiceAndAllowsReopening)
{
    StreamDriver never(*config_);
    never.Close();
    never.Close();

    // Ten seconds between frames: after the first, the driver waits for the next frame's turn, and a
    // Close that let that wait run out would take seconds, not the moment it takes.
    StreamClip slow = MakeClip(QStringLiteral("matroska"), StreamClipCodec::Mpeg4, QSize(64, 48), 10, 1);
    slow.TicksPerFrame = 10;
    Set(StreamLocationKey, WriteClip(QStringLiteral("slow.mkv"), slow));
    StreamDriver driver(*config_);
    ASSERT_TRUE(driver.Open());
    TakeOne(driver);
    QElapsedTimer closing;
    closing.start();
    driver.Close();
    EXPECT_LT(closing.elapsed(), 5000);
    driver.Close();
    EXPECT_TRUE(driver.FrameSize().isEmpty());
    DibFrame frame;
    EXPECT_FALSE(driver.TakeFrame(frame));

    ASSERT_TRUE(driver.Open());
    EXPECT_EQ(TakeOne(driver).Width, 64);
}

TEST_F(StreamDriverTest, DamagedFilesAreSkippedOverAndEndWithoutAnError)
{
    const std::pair<StreamClip, QString> clips[] = {
        {MakeClip(QStringLiteral("avi"), StreamClipCodec::Mpeg4, QSize(64, 48), 60), QStringLiteral("a.avi")},
        {MakeClip(QStringLiteral("matroska"), StreamClipCodec::Mjpeg, QSize(66, 50), 60),
         QStringLiteral("b.mkv")},
    };
    for (const auto& [clip, name] : clips)
    {
        const QByteArray good = ReadTestFile(WriteClip(name, clip));

        // The pictures start after the AVI "movi" list or at Matroska's first cluster.
        qsizetype start = good.indexOf("movi");
        if (start < 0)
            start = good.indexOf(QByteArray::fromHex("1F43B675"));
        ASSERT_GT(start, 0);
        const qsizetype pictures = good.size() - start;
        QByteArray scrambled = good;
        for (qsizetype i = start + pictures / 3; i < start + pictures * 2 / 3; i += 3)
            scrambled[i] = static_cast<char>(i * 7919);
        const QByteArray damaged[] = {scrambled, good.left(start + pictures * 3 / 5)};
        for (const QByteArray& bytes : damaged)
        {
            SCOPED_TRACE(name.toStdString() + (bytes.size() == good.size() ? " scrambled" : " cut short"));
            const QString damagedFile = folder_.filePath(QStringLiteral("damaged-") + name);
            ASSERT_TRUE(WriteTestFile(damagedFile, bytes));
            Set(StreamLocationKey, damagedFile);
            StreamDriver driver(*config_, Unpaced);
            StreamDriverEvents events(driver);
            ASSERT_TRUE(driver.Open());
            ASSERT_TRUE(StreamWaitUntil([&] { return events.HasNotice(StreamDriver::NoticeEndOfFile); }));
            EXPECT_TRUE(events.Errors.empty());
            EXPECT_GT(events.Frames, 0);
        }
    }
}

TEST_F(StreamDriverTest, SizeChangeInTheMiddlePublishesTheNewSize)
{
    StreamClip clip = MakeClip(QStringLiteral("avi"), StreamClipCodec::Mjpeg, QSize(64, 48), 10);
    clip.Parts.push_back(StreamClipPart{QSize(35, 24), 10, Qt::green, Qt::white});
    Set(StreamLocationKey, WriteClip(QStringLiteral("joined.avi"), clip));
    StreamDriver driver(*config_);
    StreamDriverEvents events(driver);
    ASSERT_TRUE(StreamOpenSettled(driver, events));
    EXPECT_EQ(driver.FrameSize(), QSize(64, 48));
    ASSERT_TRUE(StreamWaitUntil([&] { return events.HasNotice(StreamDriver::NoticeEndOfFile); }));
    EXPECT_TRUE(events.HasNotice(StreamDriver::NoticeSizeChanged));
    EXPECT_TRUE(events.Errors.empty());
    EXPECT_EQ(driver.FrameSize(), QSize(35, 24));
    DibFrame frame;
    ASSERT_TRUE(driver.TakeFrame(frame));
    ExpectPicture(frame, QSize(35, 24), Qt::green, Qt::white);
}

TEST_F(StreamDriverTest, ChosenSizeScalesTheFramesAndTheFormatDialogChangesIt)
{
    Set(StreamLocationKey,
        WriteClip(QStringLiteral("yard.avi"),
                  MakeClip(QStringLiteral("avi"), StreamClipCodec::Mpeg4, QSize(64, 48), 60, 20)));
    Set(StreamSizeKey, QStringLiteral("32x24"));
    StreamDriver driver(*config_);
    ASSERT_TRUE(driver.Open());
    EXPECT_EQ(driver.FrameSize(), QSize(32, 24));
    ExpectPicture(TakeOne(driver), QSize(32, 24), Qt::red, Qt::blue);

    QString offered;
    OperateNextModal<StreamFormatDialog>(
        [&](StreamFormatDialog& dialog)
        {
            auto* sizes = dialog.findChild<QComboBox*>(QStringLiteral("cmboSize"));
            ASSERT_NE(sizes, nullptr);
            offered = sizes->currentText();
            sizes->setCurrentIndex(sizes->findText(QStringLiteral("16 x 12")));
            dialog.accept();
        });
    ShowStreamFormatDialog(driver, nullptr, messages_);
    EXPECT_EQ(offered, QStringLiteral("32 x 24"));
    EXPECT_EQ(driver.FrameSize(), QSize(16, 12));
    EXPECT_EQ(config_->Value(QStringLiteral("stream/size")), QStringLiteral("16x12"));
    DibFrame frame;
    ASSERT_TRUE(StreamWaitUntil([&] { return driver.TakeFrame(frame) && frame.Width == 16; }));
    ExpectPicture(frame, QSize(16, 12), Qt::red, Qt::blue);

    OperateNextModal<StreamFormatDialog>(
        [](StreamFormatDialog& dialog)
        {
            dialog.findChild<QComboBox*>(QStringLiteral("cmboSize"))->setCurrentIndex(0);
            dialog.accept();
        });
    ShowStreamFormatDialog(driver, nullptr, messages_);
    EXPECT_EQ(driver.FrameSize(), QSize(64, 48));
    EXPECT_EQ(config_->Value(QStringLiteral("stream/size")), QString());
}

TEST_F(StreamDriverTest, SourceDialogExplainsABadLocationAndSwitchesToAGoodOne)
{
    const QString first =
        WriteClip(QStringLiteral("first.avi"),
                  MakeClip(QStringLiteral("avi"), StreamClipCodec::Mpeg4, QSize(64, 48), 60, 20));
    const QString second =
        WriteClip(QStringLiteral("second.mkv"),
                  MakeClip(QStringLiteral("matroska"), StreamClipCodec::Mjpeg, QSize(96, 64)));
    Set(StreamLocationKey, first);
    Set(StreamSizeKey, QStringLiteral("32x24"));
    StreamDriver driver(*config_);
    ASSERT_TRUE(driver.Open());

    QString explanation;
    bool stayedOpen = false;
    OperateNextModal<StreamSourceDialog>(
        [&](StreamSourceDialog& dialog)
        {
            auto* location = dialog.findChild<QLineEdit*>(QStringLiteral("txtLocation"));
            ASSERT_NE(location, nullptr);
            EXPECT_EQ(location->text(), first);
            location->setText(folder_.filePath(QStringLiteral("gone.avi")));
            dialog.accept();
            explanation = dialog.Message();
            stayedOpen = dialog.isVisible() && dialog.result() != QDialog::Accepted;
            location->setText(second);
            dialog.accept();
        });
    ShowStreamSourceDialog(driver, nullptr, messages_);
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(explanation.contains(QStringLiteral("gone.avi"))) << explanation.toStdString();
    EXPECT_EQ(config_->Value(QStringLiteral("stream/location")), second);
    EXPECT_EQ(config_->Value(QStringLiteral("stream/size")), QString());
    ExpectPicture(TakeOne(driver), QSize(96, 64), Qt::red, Qt::blue);
    EXPECT_EQ(driver.FrameSize(), QSize(96, 64)); // another source starts at its own size

    // Cancel changes nothing.
    OperateNextModal<StreamSourceDialog>(
        [&](StreamSourceDialog& dialog)
        {
            dialog.findChild<QLineEdit*>(QStringLiteral("txtLocation"))->setText(first);
            dialog.reject();
        });
    ShowStreamSourceDialog(driver, nullptr, messages_);
    EXPECT_EQ(config_->Value(QStringLiteral("stream/location")), second);
    EXPECT_EQ(driver.FrameSize(), QSize(96, 64));
}

TEST_F(StreamDriverTest, WithoutALocationItConnectsWithoutPicturesUntilTheSourceDialogSetsOne)
{
    const QString clip = WriteClip(QStringLiteral("porch.avi"),
                                   MakeClip(QStringLiteral("avi"), StreamClipCodec::Mpeg4, QSize(64, 48)));
    StreamDriver driver(*config_);
    ASSERT_TRUE(driver.Open());
    EXPECT_EQ(driver.FrameSize(), StreamDriver::DefaultSize);
    DibFrame frame;
    EXPECT_FALSE(driver.TakeFrame(frame));

    OperateNextModal<StreamSourceDialog>([](StreamSourceDialog& dialog) { dialog.reject(); });
    ShowStreamSourceDialog(driver, nullptr, messages_);
    EXPECT_FALSE(StreamLocationSet(*config_));

    OperateNextModal<StreamSourceDialog>(
        [&](StreamSourceDialog& dialog)
        {
            dialog.findChild<QLineEdit*>(QStringLiteral("txtLocation"))->setText(clip);
            dialog.accept();
        });
    ShowStreamSourceDialog(driver, nullptr, messages_);
    EXPECT_TRUE(StreamLocationSet(*config_));
    EXPECT_EQ(StreamDriverEntry(*config_).Name, QStringLiteral("Video file: porch.avi"));
    EXPECT_EQ(TakeOne(driver).Width, 64);
    EXPECT_EQ(driver.FrameSize(), QSize(64, 48));
    driver.Close();
}

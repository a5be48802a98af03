#include "capture/scene/TestSceneDriver.h"
#include "capture/driver/CaptureConfig.h"
#include "capture/driver/CaptureDriverList.h"
#include "capture/modAVICAP.h"
#include "capture/scene/TestSceneFormatDialog.h"
#include "capture/window/CaptureWindow.h"
#include "support/Fakes.h"
#include "support/StreamModalDialog.h"

#include <QDir>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace
{
// Waits until the driver's thread announces a frame, for at most timeoutMs.
void WaitForFrameReady(TestSceneDriver& driver, int timeoutMs = 2000)
{
    QEventLoop loop;
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    QObject::connect(&driver, &CaptureDriver::FrameReady, &loop, &QEventLoop::quit);
    loop.exec();
}

// Takes the next new frame, waiting for the driver's thread as long as needed (up to a few seconds).
bool NextFrame(TestSceneDriver& driver, DibFrame& frame)
{
    for (int attempt = 0; attempt < 5; ++attempt)
    {
        if (driver.TakeFrame(frame))
            return true;
        WaitForFrameReady(driver);
    }
    return driver.TakeFrame(frame);
}

class TestSceneDriverTest : public testing::Test
{
protected:
    QString ConfigPath() const { return directory_.filePath(QStringLiteral("Vantu.Capture")); }

    QTemporaryDir directory_;
};
} // namespace

TEST_F(TestSceneDriverTest, OpensClosesAndClosesTwice)
{
    CaptureConfig config(ConfigPath());
    TestSceneDriver driver(config);
    DibFrame frame;
    driver.Close();
    EXPECT_TRUE(driver.FrameSize().isEmpty());
    EXPECT_FALSE(driver.TakeFrame(frame));

    for (int run = 0; run < 2; ++run)
    {
        ASSERT_TRUE(driver.Open());
        EXPECT_EQ(driver.FrameSize(), QSize(640, 480));
        ASSERT_TRUE(NextFrame(driver, frame));
        driver.Close();
        driver.Close();
        EXPECT_TRUE(driver.FrameSize().isEmpty());
        EXPECT_FALSE(driver.TakeFrame(frame));
    }
}

TEST_F(TestSceneDriverTest, FramesArriveInOrderWithTheFormatsSize)
{
    CaptureConfig config(ConfigPath());
    ASSERT_TRUE(config.SetValue(TestSceneFormatKey, QStringLiteral("320x240@60"), nullptr));
    TestSceneDriver driver(config);
    ASSERT_TRUE(driver.Open());
    DibFrame frame;
    std::uint64_t lastSequence = 0;
    std::uint32_t lastTime = 0;
    for (int i = 0; i < 5; ++i)
    {
        ASSERT_TRUE(NextFrame(driver, frame)) << "frame " << i;
        EXPECT_GT(frame.Sequence, lastSequence);
        EXPECT_GE(frame.TimeCaptured, lastTime);
        EXPECT_EQ(frame.Width, 320);
        EXPECT_EQ(frame.Height, 240);
        EXPECT_EQ(frame.BytesUsed(), 320u * 240u * 3u);
        lastSequence = frame.Sequence;
        lastTime = frame.TimeCaptured;
    }
    // Once a frame has been taken it is not handed out again.
    EXPECT_FALSE(driver.TakeFrame(frame) && frame.Sequence <= lastSequence);
}

TEST_F(TestSceneDriverTest, UsesTheStoredFormatAndFallsBackTo640x480At30)
{
    struct Case
    {
        QString Stored;
        TestSceneFormat Expected;
    };
    const TestSceneFormat fallback{{640, 480}, 30};
    const Case cases[] = {
        {QStringLiteral("320x240@60"), {{320, 240}, 60}},
        {QStringLiteral("1920x1080@15"), {{1920, 1080}, 15}},
        {QStringLiteral("800x600@30"), {{800, 600}, 30}},
        {QString(), fallback},
        {QStringLiteral("garbage"), fallback},
        {QStringLiteral("640x480"), fallback},
        {QStringLiteral("641x480@30"), fallback},
        {QStringLiteral("640x480@25"), fallback},
        {QStringLiteral("1280x720@60@60"), fallback},
        {QStringLiteral("99999999999x480@30"), fallback},
        {QStringLiteral("-320x240@15"), fallback},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.Stored.toStdString());
        {
            CaptureConfig writer(ConfigPath());
            ASSERT_TRUE(writer.SetValue(TestSceneFormatKey, c.Stored, nullptr));
        }
        CaptureConfig config(ConfigPath());
        TestSceneDriver driver(config);
        EXPECT_EQ(driver.Format(), c.Expected);
        ASSERT_TRUE(driver.Open());
        EXPECT_EQ(driver.Format(), c.Expected);
        EXPECT_EQ(driver.FrameSize(), c.Expected.Size);
    }
}

TEST_F(TestSceneDriverTest, AFormatChangeRestartsAtTheNewSizeAndIsUsedAtTheNextStart)
{
    {
        CaptureConfig config(ConfigPath());
        TestSceneDriver driver(config);
        ASSERT_TRUE(driver.Open());
        DibFrame frame;
        ASSERT_TRUE(NextFrame(driver, frame));
        ASSERT_EQ(frame.Width, 640);
        const std::uint64_t before = frame.Sequence;

        QString error;
        ASSERT_TRUE(driver.ApplyFormat({{1280, 720}, 15}, &error)) << error.toStdString();
        EXPECT_EQ(driver.FrameSize(), QSize(1280, 720));
        ASSERT_TRUE(NextFrame(driver, frame));
        EXPECT_EQ(frame.Width, 1280);
        EXPECT_EQ(frame.Height, 720);
        EXPECT_GT(frame.Sequence, before);
        EXPECT_EQ(config.Value(TestSceneFormatKey), QStringLiteral("1280x720@15"));
    }
    CaptureConfig config(ConfigPath());
    TestSceneDriver driver(config);
    ASSERT_TRUE(driver.Open());
    EXPECT_EQ(driver.FrameSize(), QSize(1280, 720));
    EXPECT_EQ(driver.Format().FramesPerSecond, 15);
}

TEST_F(TestSceneDriverTest, RefusesAFormatItDoesNotOffer)
{
    CaptureConfig config(ConfigPath());
    TestSceneDriver driver(config);
    ASSERT_TRUE(driver.Open());
    for (const TestSceneFormat& format :
         {TestSceneFormat{{1024, 768}, 30}, TestSceneFormat{{640, 480}, 25}, TestSceneFormat{{0, 0}, 30}})
    {
        QString error;
        EXPECT_FALSE(driver.ApplyFormat(format, &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(driver.FrameSize(), QSize(640, 480));
        EXPECT_TRUE(config.Value(TestSceneFormatKey).isEmpty());
    }
}

TEST_F(TestSceneDriverTest, AFormatThatCannotBeStoredIsStillUsedAndTheFailureReported)
{
    CaptureConfig config(directory_.filePath(QStringLiteral("missing/Vantu.Capture")));
    TestSceneDriver driver(config);
    ASSERT_TRUE(driver.Open());
    QString error;
    EXPECT_FALSE(driver.ApplyFormat({{800, 600}, 60}, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("could not be kept"))) << error.toStdString();
    EXPECT_EQ(driver.FrameSize(), QSize(800, 600));
    DibFrame frame;
    ASSERT_TRUE(NextFrame(driver, frame));
    EXPECT_EQ(frame.Width, 800);

    // Chosen in the Format dialog, the failure is told in a message box.
    FakeMessageBox messages;
    OperateNextModal<TestSceneFormatDialog>([](TestSceneFormatDialog& dialog) { dialog.accept(); });
    TestSceneDriverEntry(config).FormatDialog(driver, nullptr, messages);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].Prompt.contains(QStringLiteral("could not be kept")));
    EXPECT_EQ(messages.shown[0].Title, QStringLiteral("Test Scene Format"));
}

TEST_F(TestSceneDriverTest, TheEntryConnectsThroughTheCaptureWindow)
{
    CaptureConfig config(ConfigPath());
    ASSERT_TRUE(config.SetValue(TestSceneFormatKey, QStringLiteral("320x240@30"), nullptr));
    const CaptureDriverEntry entry = TestSceneDriverEntry(config);
    EXPECT_EQ(entry.Name, QStringLiteral("Test scene"));
    EXPECT_EQ(entry.Version, QStringLiteral("1.0"));
    EXPECT_FALSE(entry.SourceDialog);
    EXPECT_TRUE(entry.FormatDialog);

    struct OneDriver final : CaptureDriverList
    {
        CaptureDriverEntry Entry;
        std::vector<CaptureDriverEntry> Enumerate() override { return {Entry}; }
    };
    auto list = std::make_shared<OneDriver>();
    list->Entry = entry;
    InstallCaptureDrivers(list);
    {
        CaptureWindow window;
        ASSERT_EQ(capDriverConnect(&window, 0), True);
        CAPDRIVERCAPS caps{};
        ASSERT_EQ(capDriverGetCaps(&window, &caps, sizeof caps), True);
        EXPECT_EQ(caps.fHasDlgVideoSource, 0);
        EXPECT_NE(caps.fHasDlgVideoFormat, 0);
        CAPSTATUS status{};
        ASSERT_EQ(capGetStatus(&window, &status, sizeof status), True);
        EXPECT_EQ(status.uiImageWidth, 320u);
        EXPECT_EQ(status.uiImageHeight, 240u);

        std::uint32_t bytesUsed = 0;
        const CAPVIDEOCALLBACK callback = [&](CaptureWindow*, VIDEOHDR* header)
        {
            bytesUsed = header->dwBytesUsed;
            return std::intptr_t{0};
        };
        capSetCallbackOnFrame(&window, callback);
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop,
                         [&]
                         {
                             if (capGrabFrame(&window) == True)
                                 loop.quit();
                         });
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        poll.start(5);
        loop.exec();
        EXPECT_EQ(bytesUsed, 320u * 240u * 3u);
    }
    InstallCaptureDrivers(nullptr);
}

#include "capture/window/CaptureWindow.h"
#include "capture/driver/CaptureConfig.h"
#include "capture/modAVICAP.h"
#include "capture/window/DibFile.h"
#include "support/Fakes.h"
#include "support/ScriptedDriver.h"
#include "support/StreamModalDialog.h"
#include "support/TestFiles.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QWidget>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace
{
class CaptureWindowTest : public ::testing::Test
{
protected:
    CaptureWindowTest()
        : window(
              capCreateCaptureWindowA("Scripted camera", WS_CHILD | WS_VISIBLE, 4, 12, 160, 120, &parent, 0))
    {
        capSetCallbackOnFrame(window,
                              [this](CaptureWindow*, VIDEOHDR* header)
                              {
                                  std::uint64_t sum = 0;
                                  for (std::uint32_t i = 0; i < header->dwBytesUsed; ++i)
                                      sum += header->lpData[i];
                                  sums.push_back(sum);
                                  return std::intptr_t{0};
                              });
        window->SetMessageBox(messages);
    }

    ScopedScriptedDrivers drivers{2};
    QWidget parent;
    CaptureWindow* window;
    FakeMessageBox messages;
    std::vector<std::uint64_t> sums;
};
} // namespace

TEST_F(CaptureWindowTest, IsCreatedAsAChildAtItsPlace)
{
    EXPECT_EQ(window->parentWidget(), &parent);
    EXPECT_EQ(window->geometry(), QRect(4, 12, 160, 120));
    EXPECT_FALSE(window->isHidden());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Scripted camera"));
}

TEST_F(CaptureWindowTest, RequestsAnswerWithTheProgramsBooleans)
{
    CAPDRIVERCAPS caps{};
    CAPSTATUS status{};
    EXPECT_EQ(capDriverGetCaps(window, &caps, sizeof caps), False) << "no driver connected yet";
    EXPECT_EQ(capGetStatus(window, &status, sizeof status), False);
    EXPECT_EQ(status.uiImageWidth, 0u);
    EXPECT_EQ(capGrabFrame(window), False);
    EXPECT_EQ(capDriverConnect(window, 2), False) << "there is no driver 2";
    EXPECT_EQ(capDriverConnect(window, -1), False);

    EXPECT_EQ(capDriverConnect(window, 1), True);
    EXPECT_EQ(capDriverGetCaps(window, &caps, sizeof caps), True);
    EXPECT_EQ(caps.wDeviceIndex, 1u);
    EXPECT_EQ(capGetStatus(window, &status, sizeof status), True);
    EXPECT_EQ(status.uiImageWidth, 320u);
    EXPECT_EQ(status.uiImageHeight, 240u);

    // A null window answers nothing.
    EXPECT_EQ(capDriverConnect(nullptr, 0), False);
    EXPECT_EQ(capPreview(nullptr, True), False);
    EXPECT_EQ(capGrabFrame(nullptr), False);
    EXPECT_EQ(capSetCallbackOnYield(window, {}), True);
}

TEST_F(CaptureWindowTest, CapabilitiesFollowTheConnectedDriver)
{
    drivers.Camera(0).HasSourceDialog = false;
    drivers.Camera(1).HasFormatDialog = false;
    CAPDRIVERCAPS caps{};
    capDriverConnect(window, 0);
    capDriverGetCaps(window, &caps, sizeof caps);
    EXPECT_EQ(caps.fHasDlgVideoSource, 0);
    EXPECT_NE(caps.fHasDlgVideoFormat, 0);
    EXPECT_NE(caps.fHasDlgVideoDisplay, 0);
    capDriverConnect(window, 1);
    capDriverGetCaps(window, &caps, sizeof caps);
    EXPECT_EQ(caps.wDeviceIndex, 1u);
    EXPECT_NE(caps.fHasDlgVideoSource, 0);
    EXPECT_EQ(caps.fHasDlgVideoFormat, 0);
    EXPECT_EQ(capDlgVideoFormat(window), False);
    EXPECT_EQ(capDlgVideoSource(window), True);
    EXPECT_EQ(drivers.Camera(1).SourceDialogs, 1);
    EXPECT_EQ(capDlgVideoCompression(window), True);
    ASSERT_EQ(messages.shown.size(), 1u) << "the window's note goes through the program's message box";
    EXPECT_EQ(messages.shown[0].Title, QStringLiteral("Video Compression"));
}

TEST_F(CaptureWindowTest, ADriverThatFailsToOpenLeavesTheOldOneConnected)
{
    drivers.Camera(1).OpenSucceeds = false;
    ASSERT_EQ(capDriverConnect(window, 0), True);
    EXPECT_EQ(capDriverConnect(window, 1), False);
    CAPDRIVERCAPS caps{};
    EXPECT_EQ(capDriverGetCaps(window, &caps, sizeof caps), True);
    EXPECT_EQ(caps.wDeviceIndex, 0u);
}

TEST_F(CaptureWindowTest, AGrabHandsOutEachNewFrameOnceAndNeverWaits)
{
    capDriverConnect(window, 0);
    drivers.Camera().QueueFrame(100);
    drivers.Camera().QueueFrame(200);
    EXPECT_EQ(capGrabFrame(window), True);
    EXPECT_EQ(capGrabFrame(window), True);
    EXPECT_EQ(capGrabFrame(window), False) << "no new frame: nothing is handed out";
    EXPECT_EQ(sums, (std::vector<std::uint64_t>{100, 200}));
    EXPECT_EQ(window->CurrentFrame().Sequence, 2u);
}

TEST_F(CaptureWindowTest, FramesReplacedBeforeTheyWereTakenAreCountedAsDropped)
{
    capDriverConnect(window, 0);
    drivers.Camera().QueueFrame(100);
    drivers.Camera().SkipFrames(3);
    drivers.Camera().QueueFrame(200);
    drivers.Camera().QueueFrame(300);
    while (IsTrue(capGrabFrame(window)))
        ;
    CAPSTATUS status{};
    ASSERT_EQ(capGetStatus(window, &status, sizeof status), True);
    EXPECT_EQ(status.dwCurrentVideoFramesDropped, 3u);
    EXPECT_EQ(status.dwCurrentVideoFrame, 6u);
}

TEST_F(CaptureWindowTest, PreviewFramesReachTheCallbackAndAGrabEndsThePreview)
{
    capDriverConnect(window, 0);
    capPreviewRate(window, 0);
    EXPECT_EQ(capPreview(window, True), True);
    drivers.Camera().QueueFrame(7);
    drivers.Camera().AnnounceFrame();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(sums, std::vector<std::uint64_t>{7});

    drivers.Camera().QueueFrame(8);
    capGrabFrame(window);
    EXPECT_FALSE(window->Previewing());
    drivers.Camera().QueueFrame(9);
    drivers.Camera().AnnounceFrame();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(sums, (std::vector<std::uint64_t>{7, 8})) << "without preview, frames wait for a grab";
}

TEST_F(CaptureWindowTest, RemovedCallbacksAreNoLongerCalled)
{
    capDriverConnect(window, 0);
    capSetCallbackOnFrame(window, {});
    drivers.Camera().QueueFrame(5);
    EXPECT_EQ(capGrabFrame(window), True);
    EXPECT_TRUE(sums.empty());
}

TEST_F(CaptureWindowTest, SavesTheCurrentFrameAsABitmapViewersOpen)
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/Detection_1-0.Bmp");
    capDriverConnect(window, 0);
    EXPECT_EQ(capFileSaveDIB(window, path), False) << "no frame yet";
    EXPECT_FALSE(QFile::exists(path));

    DibFrame frame;
    frame.Resize(5, 3); // 15 bytes of pixels a row, padded to 16
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
        {
            std::uint8_t* pixel = frame.TopDownRow(y) + x * 3;
            pixel[0] = static_cast<std::uint8_t>(10 * x); // blue
            pixel[1] = static_cast<std::uint8_t>(50 * y); // green
            pixel[2] = 200;                               // red
        }
    drivers.Camera().Frames.push_back(frame);
    capGrabFrame(window);
    ASSERT_EQ(capFileSaveDIB(window, path), True);

    const QByteArray bytes = ReadTestFile(path);
    EXPECT_EQ(bytes.size(), 54 + 16 * 3);
    EXPECT_EQ(bytes.left(2), QByteArray("BM"));
    const QImage image(path);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(5, 3));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(image.pixel(x, y), qRgb(200, 50 * y, 10 * x)) << x << "," << y;
}

TEST(DibFile, AFileThatCannotBeWrittenIsReportedAndNotLeftBehind)
{
    QTemporaryDir dir;
    DibFrame frame;
    frame.Resize(4, 4);
    QString error;
    EXPECT_FALSE(WriteDibFile(dir.path() + QStringLiteral("/missing/x.Bmp"), frame, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(WriteDibFile(dir.path() + QStringLiteral("/empty.Bmp"), DibFrame{}, &error));
    EXPECT_FALSE(QFile::exists(dir.path() + QStringLiteral("/empty.Bmp")));
    if (QFile::exists(QStringLiteral("/dev/full")))
    {
        EXPECT_FALSE(WriteDibFile(QStringLiteral("/dev/full"), frame, &error)) << "a full disk is a failure";
    }
}

TEST(DriverDescriptions, FillFixedBuffersAndEndPastTheLastDriver)
{
    ScopedScriptedDrivers drivers(2);
    drivers.Camera(1).Name = QString(150, QChar('x'));
    char name[100];
    char version[100];
    std::memset(name, '?', sizeof name);
    ASSERT_TRUE(capGetDriverDescriptionA(0, name, sizeof name, version, sizeof version));
    EXPECT_STREQ(name, "Scripted camera 0");
    EXPECT_EQ(name[99], '\0') << "the rest of the buffer is NUL";
    ASSERT_TRUE(capGetDriverDescriptionA(1, name, sizeof name, version, sizeof version));
    EXPECT_EQ(std::strlen(name), 99u) << "a long name is cut to fit with its terminating NUL";
    EXPECT_FALSE(capGetDriverDescriptionA(2, name, sizeof name, version, sizeof version));

    InstallCaptureDrivers(nullptr);
    EXPECT_FALSE(capGetDriverDescriptionA(0, name, sizeof name, version, sizeof version));
}

namespace
{
// A 40 x 30 frame: top half red, bottom half blue.
DibFrame RedOverBlue()
{
    DibFrame frame;
    frame.Resize(40, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
        {
            std::uint8_t* pixel = frame.TopDownRow(y) + 3 * x;
            pixel[0] = y < 15 ? 0 : 255;
            pixel[1] = 0;
            pixel[2] = y < 15 ? 255 : 0;
        }
    return frame;
}
} // namespace

TEST_F(CaptureWindowTest, ShowsTheFrameTheRightWayUpScaledToTheWindow)
{
    capDriverConnect(window, 0);
    capPreviewScale(window, True);
    drivers.Camera().Frames.push_back(RedOverBlue());
    capGrabFrame(window);
    window->resize(80, 60);
    const QImage shown = window->grab().toImage();
    EXPECT_EQ(shown.pixel(40, 5), qRgb(255, 0, 0));
    EXPECT_EQ(shown.pixel(40, 55), qRgb(0, 0, 255));
}

TEST_F(CaptureWindowTest, DrawsTheFrameAtItsOwnSizeIntoAPictureOnlyWhereItIsAsked)
{
    capDriverConnect(window, 0);
    drivers.Camera().Frames.push_back(RedOverBlue());
    capGrabFrame(window);
    window->resize(50, 30);
    for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied})
    {
        QImage picture(70, 50, format);
        picture.fill(Qt::green);
        window->render(&picture, QPoint(10, 20), QRegion(0, 0, 45, 20));
        const struct
        {
            QPoint At;
            QRgb Colour;
        } expected[] = {{{10, 20}, qRgb(255, 0, 0)}, {{49, 34}, qRgb(255, 0, 0)}, {{49, 35}, qRgb(0, 0, 255)},
                        {{50, 20}, qRgb(0, 0, 0)},   {{54, 39}, qRgb(0, 0, 0)},   {{55, 20}, qRgb(0, 255, 0)},
                        {{10, 40}, qRgb(0, 255, 0)}, {{9, 20}, qRgb(0, 255, 0)}};
        for (const auto& e : expected)
            EXPECT_EQ(picture.pixel(e.At), e.Colour) << format << " at " << e.At.x() << "," << e.At.y();
    }
}

TEST_F(CaptureWindowTest, DrawsAScaledFrameStraightIntoAPictureFromThePixelUnderEachCentre)
{
    capDriverConnect(window, 0);
    capPreviewScale(window, True);
    drivers.Camera().Frames.push_back(RedOverBlue());
    capGrabFrame(window);
    window->resize(80, 60);
    QImage picture(80, 60, QImage::Format_RGB32);
    picture.fill(Qt::green);
    window->render(&picture);
    // Rows 0-29 show frame rows 0-14 (red), rows 30-59 frame rows 15-29 (blue).
    EXPECT_EQ(picture.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(picture.pixel(79, 29), qRgb(255, 0, 0));
    EXPECT_EQ(picture.pixel(79, 30), qRgb(0, 0, 255));
    EXPECT_EQ(picture.pixel(0, 59), qRgb(0, 0, 255));
}

TEST_F(CaptureWindowTest, DisplayOptionsAreKeptForTheNextStart)
{
    QTemporaryDir dir;
    CaptureConfig config(dir.filePath(QStringLiteral("Vantu.Capture")));
    drivers.List()->Config = &config;
    capDriverConnect(window, 0);
    capPreviewScale(window, True);
    OperateNextModal<QDialog>(
        [](QDialog& dialog)
        {
            dialog.findChild<QCheckBox*>(QStringLiteral("chkScale"))->setChecked(false);
            dialog.accept();
        });
    EXPECT_EQ(capDlgVideoDisplay(window), True);
    EXPECT_FALSE(window->Scaling());

    CaptureWindow next(&parent);
    next.SetScale(true); // as the start-up does
    next.RestoreDisplayOptions();
    EXPECT_FALSE(next.Scaling());
    EXPECT_FALSE(CaptureConfig(config.Path()).Value(QStringLiteral("display/scale")).isEmpty())
        << "saved in the file";
}

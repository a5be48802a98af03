#include "capture/v4l2/V4l2Devices.h"
#include "capture/driver/CaptureConfig.h"
#include "capture/driver/CaptureDriver.h"
#include "capture/v4l2/V4l2DriverEntries.h"
#include "support/FakeV4l2Device.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{
class V4l2DevicesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        // The nodes exist as files; the fake answers for the paths.
        for (const char* name : {"video0", "video1", "video2", "video4", "video10", "video5", "videoX",
                                 "video", "radio0", "video0.bak"})
        {
            QFile node(dir.filePath(QString::fromLatin1(name)));
            ASSERT_TRUE(node.open(QIODevice::WriteOnly));
        }
        fake.AddCamera(Path("video0"), "Front Door");
        // A metadata node of the same camera: its own capabilities say it cannot capture video.
        FakeV4l2Camera& metadata = fake.AddCamera(Path("video1"), "Front Door");
        metadata.DeviceCaps = V4L2_CAP_META_CAPTURE | V4L2_CAP_STREAMING;
        // An older driver that reports no separate node capabilities.
        FakeV4l2Camera& old = fake.AddCamera(Path("video2"), "Old Grabber");
        old.Capabilities = V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_READWRITE;
        old.DeviceCaps = 0;
        old.Version = (2u << 16) | (6u << 8) | 32u;
        fake.AddCamera(Path("video4"), "Broken").Failures[VIDIOC_QUERYCAP] = EIO;
        fake.AddCamera(Path("video10"), "Garage");
        fake.AddCamera(Path("video5"), "Busy").OpenErrno = EACCES;
        fake.AddCamera(Path("videoX"), "Not a node number");
    }

    std::string Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)).toStdString(); }

    QTemporaryDir dir;
    FakeV4l2 fake;
};
} // namespace

TEST_F(V4l2DevicesTest, ListsTheNodesThatCaptureVideoInNumericOrder)
{
    const std::vector<V4l2DeviceInfo> devices = ListV4l2Devices(*fake.Api(), dir.path());
    ASSERT_EQ(devices.size(), 3u);
    EXPECT_EQ(devices[0].Path.toStdString(), Path("video0"));
    EXPECT_EQ(devices[0].Card, QStringLiteral("Front Door"));
    EXPECT_EQ(devices[0].Version, QStringLiteral("6.1.27"));
    EXPECT_EQ(devices[1].Path.toStdString(), Path("video2"));
    EXPECT_EQ(devices[1].Version, QStringLiteral("2.6.32"));
    EXPECT_EQ(devices[2].Path.toStdString(), Path("video10"));
    EXPECT_EQ(devices[2].Card, QStringLiteral("Garage"));
    for (const char* node : {"video0", "video1", "video2", "video4", "video10"})
        EXPECT_EQ(fake.Camera(Path(node)).OpenFds, 0) << node << " was left open";

    EXPECT_TRUE(ListV4l2Devices(*fake.Api(), dir.filePath(QStringLiteral("missing"))).empty());
    EXPECT_TRUE(ListV4l2Devices(*fake.Api(), dir.filePath(QStringLiteral("video0"))).empty())
        << "a file, not a folder";
}

TEST_F(V4l2DevicesTest, EntriesNameEachCameraAndCreateItsDriver)
{
    CaptureConfig config(dir.filePath(QStringLiteral("Vantu.Capture")));
    const std::vector<CaptureDriverEntry> entries = V4l2DriverEntries(config, dir.path(), fake.Api());
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].Name, QStringLiteral("Front Door"));
    EXPECT_EQ(entries[0].Version, QStringLiteral("6.1.27"));
    EXPECT_EQ(entries[2].Name, QStringLiteral("Garage"));

    std::unique_ptr<CaptureDriver> driver = entries[2].Create();
    ASSERT_TRUE(driver);
    EXPECT_TRUE(entries[2].SourceDialog);
    EXPECT_TRUE(entries[2].FormatDialog);
    ASSERT_TRUE(driver->Open());
    EXPECT_EQ(driver->FrameSize(), QSize(640, 480));
    EXPECT_EQ(fake.Camera(Path("video10")).OpenFds, 1);
    driver.reset();
    EXPECT_EQ(fake.Camera(Path("video10")).OpenFds, 0) << "the destructor closes the camera";
}

TEST(V4l2ConfigPrefix, NamesTheCameraByCardAndPortInCharactersAKeyCanHold)
{
    V4l2DeviceInfo device;
    device.Path = QStringLiteral("/dev/video3");
    device.Card = QStringLiteral("HD Pro Webcam C920");
    device.BusInfo = QStringLiteral("usb-0000:00:14.0-1");
    EXPECT_EQ(V4l2ConfigPrefix(device), QStringLiteral("V4l2.HD_Pro_Webcam_C920@usb-0000:00:14.0-1."));
    device.Card = QStringLiteral("a=b\nc#d");
    device.BusInfo.clear();
    EXPECT_EQ(V4l2ConfigPrefix(device), QStringLiteral("V4l2.a_b_c_d@_dev_video3."));
}

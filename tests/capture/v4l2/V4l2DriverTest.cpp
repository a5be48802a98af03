#include "capture/v4l2/V4l2Driver.h"
#include "capture/driver/CaptureConfig.h"
#include "support/FakeV4l2Device.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{
const QString FormatKey = QStringLiteral("V4l2.Fake_Camera@usb-0000:00:14.0-1.Format");
const QString InputKey = QStringLiteral("V4l2.Fake_Camera@usb-0000:00:14.0-1.Input");

// The failures a driver reported, collected on the test's thread.
struct ErrorLog
{
    std::vector<std::pair<int, QString>> Errors;
    QObject Receiver;

    void Watch(CaptureDriver& driver)
    {
        QObject::connect(&driver, &CaptureDriver::ErrorOccurred, &Receiver,
                         [this](int number, const QString& text) { Errors.emplace_back(number, text); });
    }
};

class V4l2DriverTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    std::unique_ptr<V4l2Driver> MakeDriver()
    {
        V4l2DeviceInfo device{QString::fromStdString(FakeCameraPath), QString::fromStdString(camera.Card),
                              QString::fromStdString(camera.BusInfo), QStringLiteral("6.1.27"),
                              camera.DeviceCaps};
        return std::make_unique<V4l2Driver>(fake.Api(), device, config);
    }

    // The next frame the driver hands out, waiting for its capture thread.
    bool NextFrame(V4l2Driver& driver, DibFrame& frame)
    {
        return WaitUntil([&] { return driver.TakeFrame(frame); });
    }

    // A camera that offers only one size, to check the pixels of a small picture.
    void OfferOnly(std::uint32_t width, std::uint32_t height)
    {
        camera.Formats = {{V4L2_PIX_FMT_YUYV, "YUYV 4:2:2", false, {DiscreteSize(width, height)}}};
    }

    void ExpectPattern(const DibFrame& frame, int width, int height, int seed)
    {
        ASSERT_EQ(frame.Width, width);
        ASSERT_EQ(frame.Height, height);
        for (int y = 0; y < height; ++y)
        {
            for (int x = 0; x < width; ++x)
                for (int c = 0; c < 3; ++c)
                    ASSERT_EQ(frame.TopDownRow(y)[x * 3 + c], PatternByte(x, y, c, seed)) << x << "," << y;
            for (int pad = width * 3; pad < frame.Stride(); ++pad)
                ASSERT_EQ(frame.TopDownRow(y)[pad], 0);
        }
    }

    QTemporaryDir dir;
    FakeV4l2 fake;
    FakeV4l2Camera& camera = fake.AddCamera(FakeCameraPath);
    CaptureConfig config{dir.filePath(QStringLiteral("Vantu.Capture"))};
};
} // namespace

TEST_F(V4l2DriverTest, OpensAtTheDefaultFormatAndClosesEverythingItOpened)
{
    auto driver = MakeDriver();
    ASSERT_TRUE(driver->Open()) << driver->OpenError().toStdString();
    EXPECT_TRUE(driver->OpenError().isEmpty());
    EXPECT_EQ(driver->FrameSize(), QSize(640, 480));
    EXPECT_EQ(driver->Format(), (V4l2FormatChoice{V4L2_PIX_FMT_YUYV, 640, 480, {1, 30}}));
    EXPECT_EQ(camera.PixelFormat, V4L2_PIX_FMT_BGR24) << "libv4l2 converts to BGR24";
    EXPECT_EQ(camera.Interval.denominator, 30u);
    EXPECT_EQ(camera.MappedBuffers, 4);
    EXPECT_TRUE(camera.Streaming);
    EXPECT_EQ(driver->Formats().size(), 2u);
    EXPECT_EQ(driver->CurrentInput(), -1) << "the camera has no inputs to choose from";

    driver->Close();
    EXPECT_FALSE(driver->IsOpen());
    EXPECT_TRUE(driver->FrameSize().isEmpty());
    EXPECT_EQ(camera.OpenFds, 0);
    EXPECT_EQ(camera.MappedBuffers, 0);
    EXPECT_FALSE(camera.Streaming);
    EXPECT_TRUE(camera.Buffers.empty()) << "the buffers are given back";
    driver->Close();
    EXPECT_EQ(camera.OpenFds, 0);

    ASSERT_TRUE(driver->Open()) << "a closed driver opens again";
    EXPECT_EQ(camera.OpenFds, 1);
}

TEST_F(V4l2DriverTest, EachOpeningStepThatFailsLeavesTheDriverClosed)
{
    struct Case
    {
        const char* Name;
        std::function<void(FakeV4l2Camera&, CaptureConfig&)> Break;
        const char* Reason;
    };
    const std::vector<Case> cases = {
        {"open", [](auto& c, auto&) { c.OpenErrno = EACCES; }, "could not be opened: Permission denied"},
        {"query", [](auto& c, auto&) { c.Failures[VIDIOC_QUERYCAP] = EIO; },
         "does not answer: Input/output error"},
        {"no capture", [](auto& c, auto&) { c.DeviceCaps = V4L2_CAP_META_CAPTURE; }, "cannot capture video."},
        {"no way to read", [](auto& c, auto&) { c.DeviceCaps = V4L2_CAP_VIDEO_CAPTURE; },
         "offers no way to read"},
        {"input",
         [](auto& c, auto& config)
         {
             c.Inputs = {"Camera", "Composite"};
             c.Failures[VIDIOC_S_INPUT] = EBUSY;
             QString error;
             ASSERT_TRUE(config.SetValue(InputKey, QStringLiteral("1"), &error)) << error.toStdString();
         },
         "could not switch to the input \"Composite\": Device or resource busy"},
        {"no formats", [](auto& c, auto&) { c.Formats.clear(); }, "offers no picture format"},
        {"format", [](auto& c, auto&) { c.Failures[VIDIOC_S_FMT] = EINVAL; },
         "refused the format YUYV 640x480 1/30"},
        {"no conversion", [](auto& c, auto&) { c.ConvertsToBgr24 = false; }, "cannot deliver its pictures"},
        {"rate", [](auto& c, auto&) { c.Failures[VIDIOC_S_PARM] = EIO; }, "refused the frame rate"},
        {"buffers", [](auto& c, auto&) { c.Failures[VIDIOC_REQBUFS] = ENOMEM; },
         "picture buffers: Cannot allocate"},
        {"one buffer", [](auto& c, auto&) { c.BuffersGranted = 1; }, "picture buffers: Cannot allocate"},
        {"query buffer", [](auto& c, auto&) { c.Failures[VIDIOC_QUERYBUF] = EINVAL; }, "picture buffers"},
        {"map", [](auto& c, auto&) { c.MmapErrno = ENOMEM; }, "picture buffers: Cannot allocate"},
        {"queue", [](auto& c, auto&) { c.Failures[VIDIOC_QBUF] = EIO; },
         "picture buffers: Input/output error"},
        {"stream", [](auto& c, auto&) { c.Failures[VIDIOC_STREAMON] = ENOSPC; },
         "could not start sending pictures"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.Name);
        QTemporaryDir caseDir;
        CaptureConfig caseConfig(caseDir.filePath(QStringLiteral("Vantu.Capture")));
        FakeV4l2 caseFake;
        FakeV4l2Camera& broken = caseFake.AddCamera(FakeCameraPath);
        c.Break(broken, caseConfig);
        V4l2Driver driver(caseFake.Api(),
                          {QString::fromStdString(FakeCameraPath), QStringLiteral("Fake Camera"),
                           QString::fromStdString(broken.BusInfo), QStringLiteral("6.1.27"), 0},
                          caseConfig);
        ErrorLog log;
        log.Watch(driver);

        EXPECT_FALSE(driver.Open());
        EXPECT_FALSE(driver.IsOpen());
        EXPECT_TRUE(driver.FrameSize().isEmpty());
        EXPECT_TRUE(driver.OpenError().startsWith(QStringLiteral("The camera \"Fake Camera\" ")))
            << driver.OpenError().toStdString();
        EXPECT_TRUE(driver.OpenError().contains(QString::fromLatin1(c.Reason)))
            << driver.OpenError().toStdString();
        EXPECT_EQ(broken.OpenFds, 0);
        EXPECT_EQ(broken.MappedBuffers, 0);
        EXPECT_FALSE(broken.Streaming);
        DibFrame frame;
        EXPECT_FALSE(driver.TakeFrame(frame));
        QCoreApplication::processEvents();
        EXPECT_TRUE(log.Errors.empty()) << "a failing Open reports only through its result";
    }
}

TEST_F(V4l2DriverTest, CameraWithoutRateSettingOpensAtItsOwnRate)
{
    camera.HasRateSetting = false;
    auto driver = MakeDriver();
    EXPECT_TRUE(driver->Open()) << driver->OpenError().toStdString();
}

TEST_F(V4l2DriverTest, DeliversEachBufferAsBottomUpPaddedRows)
{
    OfferOnly(5, 3);
    camera.ExtraBytesPerLine = 2; // rows of 17 bytes from the device, 16 in the frame
    auto driver = MakeDriver();
    ASSERT_TRUE(driver->Open());
    ASSERT_EQ(driver->FrameSize(), QSize(5, 3));

    DibFrame frame;
    std::uint32_t previousTime = 0;
    for (int seed = 1; seed <= 3; ++seed)
    {
        SCOPED_TRACE(seed);
        fake.QueueFrame(FakeCameraPath, {Bgr24Pattern(5, 3, 17, seed)});
        ASSERT_TRUE(NextFrame(*driver, frame));
        ExpectPattern(frame, 5, 3, seed);
        EXPECT_EQ(frame.Sequence, static_cast<std::uint64_t>(seed));
        EXPECT_GE(frame.TimeCaptured, previousTime);
        previousTime = frame.TimeCaptured;
    }
    EXPECT_FALSE(driver->TakeFrame(frame)) << "each frame is handed out once";
}

TEST_F(V4l2DriverTest, SkipsFlaggedAndCutOffBuffersAndRetriesWhenNothingIsReady)
{
    OfferOnly(6, 2);
    auto driver = MakeDriver();
    ErrorLog log;
    log.Watch(*driver);
    ASSERT_TRUE(driver->Open());
    fake.QueueFrame(FakeCameraPath, {{}, 0, EAGAIN});
    fake.QueueFrame(FakeCameraPath, {Bgr24Pattern(6, 2, 18, 1), V4L2_BUF_FLAG_ERROR});
    fake.QueueFrame(FakeCameraPath, {{}, 0, EINTR});
    fake.QueueFrame(FakeCameraPath, {std::vector<std::uint8_t>(20, 9)});
    fake.QueueFrame(FakeCameraPath, {Bgr24Pattern(6, 2, 18, 2)});

    DibFrame frame;
    ASSERT_TRUE(NextFrame(*driver, frame));
    ExpectPattern(frame, 6, 2, 2);
    EXPECT_EQ(frame.Sequence, 1u) << "the flagged and the cut-off buffer were not published";
    EXPECT_TRUE(fake.FramesTaken(FakeCameraPath));
    fake.QueueFrame(FakeCameraPath, {Bgr24Pattern(6, 2, 18, 3)});
    ASSERT_TRUE(NextFrame(*driver, frame));
    ExpectPattern(frame, 6, 2, 3);
    driver->Close();
    QCoreApplication::processEvents();
    EXPECT_TRUE(log.Errors.empty());
}

TEST_F(V4l2DriverTest, CameraThatFailsIsReportedOnceWithErrnoAndClosesPromptly)
{
    struct Case
    {
        const char* Name;
        std::function<void(FakeV4l2&)> Stop;
        int Number;
        const char* Text;
    };
    const std::vector<Case> cases = {
        {"input/output error",
         [](FakeV4l2& f) {
             f.QueueFrame(FakeCameraPath, {{}, 0, EIO});
         },
         EIO, "Input/output error"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.Name);
        FakeV4l2 caseFake;
        caseFake.AddCamera(FakeCameraPath);
        V4l2Driver driver(caseFake.Api(),
                          {QString::fromStdString(FakeCameraPath), QStringLiteral("Fake Camera"), {}, {}, 0},
                          config);
        ErrorLog log;
        log.Watch(driver);
        ASSERT_TRUE(driver.Open());
        caseFake.QueueFrame(FakeCameraPath, {Bgr24Pattern(640, 480, 640 * 3, 1)});
        DibFrame frame;
        ASSERT_TRUE(NextFrame(driver, frame));

        c.Stop(caseFake);
        ASSERT_TRUE(WaitUntil([&] { return !log.Errors.empty(); }));
        QElapsedTimer closing;
        closing.start();
        driver.Close();
        driver.Close();
        EXPECT_LT(closing.elapsed(), 1000);
        QCoreApplication::processEvents();
        ASSERT_EQ(log.Errors.size(), 1u);
        EXPECT_EQ(log.Errors[0].first, c.Number);
        EXPECT_EQ(log.Errors[0].second,
                  QStringLiteral("The camera \"Fake Camera\" stopped delivering pictures: %1").arg(c.Text));
        EXPECT_EQ(caseFake.Camera(FakeCameraPath).OpenFds, 0);
        EXPECT_EQ(caseFake.Camera(FakeCameraPath).MappedBuffers, 0);
    }
}

TEST_F(V4l2DriverTest, ReadsPicturesWhenTheCameraCannotStream)
{
    OfferOnly(3, 2);
    camera.DeviceCaps = V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_READWRITE;
    auto driver = MakeDriver();
    ASSERT_TRUE(driver->Open()) << driver->OpenError().toStdString();
    EXPECT_EQ(fake.Calls(FakeCameraPath, VIDIOC_REQBUFS), 0);
    EXPECT_EQ(camera.MappedBuffers, 0);
    fake.QueueFrame(FakeCameraPath, {{}, 0, EAGAIN});
    fake.QueueFrame(FakeCameraPath, {Bgr24Pattern(3, 2, 9, 4)});
    DibFrame frame;
    ASSERT_TRUE(NextFrame(*driver, frame));
    ExpectPattern(frame, 3, 2, 4);
}

TEST_F(V4l2DriverTest, FormatChangeRestartsOnlyWhenTheFormatDiffersAndIsKeptForTheNextStart)
{
    auto driver = MakeDriver();
    ASSERT_TRUE(driver->Open());
    QString error;
    ASSERT_TRUE(driver->ApplyFormat(driver->Format(), &error)) << error.toStdString();
    EXPECT_EQ(fake.Calls(FakeCameraPath, VIDIOC_STREAMON), 1) << "the same format needs no restart";
    EXPECT_EQ(config.Value(FormatKey), QStringLiteral("YUYV 640x480 1/30"));

    const V4l2FormatChoice wide{V4L2_PIX_FMT_MJPEG, 1280, 720, {1, 15}};
    ASSERT_TRUE(driver->ApplyFormat(wide, &error)) << error.toStdString();
    EXPECT_EQ(fake.Calls(FakeCameraPath, VIDIOC_STREAMON), 2);
    EXPECT_TRUE(driver->IsOpen());
    EXPECT_EQ(driver->FrameSize(), QSize(1280, 720));
    EXPECT_EQ(camera.Interval.denominator, 15u);
    EXPECT_EQ(camera.OpenFds, 1);
    driver.reset();

    CaptureConfig reread(config.Path());
    EXPECT_EQ(reread.Value(FormatKey), QStringLiteral("MJPG 1280x720 1/15"));
    V4l2Driver next(fake.Api(),
                    {QString::fromStdString(FakeCameraPath),
                     QStringLiteral("Fake Camera"),
                     QString::fromStdString(camera.BusInfo),
                     {},
                     0},
                    reread);
    ASSERT_TRUE(next.Open());
    EXPECT_EQ(next.Format(), wide) << "the kept choice is used at the next start";
}

TEST_F(V4l2DriverTest, RefusedFormatBringsBackThePreviousOneAndIsNotKept)
{
    camera.RefusedWidth = 1280;
    auto driver = MakeDriver();
    ErrorLog log;
    log.Watch(*driver);
    ASSERT_TRUE(driver->Open());
    QString error;
    EXPECT_FALSE(driver->ApplyFormat({V4L2_PIX_FMT_MJPEG, 1280, 720, {1, 30}}, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("refused the format MJPG 1280x720 1/30")))
        << error.toStdString();
    EXPECT_TRUE(driver->IsOpen());
    EXPECT_EQ(driver->FrameSize(), QSize(640, 480));
    EXPECT_TRUE(config.Value(FormatKey).isEmpty());
    QCoreApplication::processEvents();
    EXPECT_TRUE(log.Errors.empty());

    // When even the previous format cannot be restored, the camera has stopped: that is reported.
    fake.FailIoctl(FakeCameraPath, VIDIOC_STREAMON, EIO);
    EXPECT_FALSE(driver->ApplyFormat({V4L2_PIX_FMT_YUYV, 320, 240, {1, 30}}, &error));
    EXPECT_FALSE(driver->IsOpen());
    EXPECT_EQ(camera.OpenFds, 0);
    QCoreApplication::processEvents();
    ASSERT_EQ(log.Errors.size(), 1u);
    EXPECT_EQ(log.Errors[0].first, EIO);
    EXPECT_TRUE(log.Errors[0].second.contains(QStringLiteral("could not start sending pictures")));
}

TEST_F(V4l2DriverTest, InputChoiceIsAppliedAndKeptForTheNextStart)
{
    camera.Inputs = {"Camera", "S-Video"};
    auto driver = MakeDriver();
    ASSERT_TRUE(driver->Open());
    EXPECT_EQ(driver->CurrentInput(), 0);
    ASSERT_EQ(driver->Inputs().size(), 2u);
    EXPECT_EQ(driver->Inputs()[1].Name, QStringLiteral("S-Video"));

    QString error;
    ASSERT_TRUE(driver->SelectInput(1, &error)) << error.toStdString();
    EXPECT_EQ(camera.Input, 1);
    EXPECT_EQ(driver->CurrentInput(), 1);
    EXPECT_TRUE(driver->IsOpen());
    EXPECT_EQ(config.Value(InputKey), QStringLiteral("1"));
    EXPECT_FALSE(driver->SelectInput(2, &error));
    EXPECT_FALSE(error.isEmpty());
    driver.reset();

    camera.Input = 0;
    auto next = MakeDriver();
    ASSERT_TRUE(next->Open());
    EXPECT_EQ(camera.Input, 1);
}

TEST_F(V4l2DriverTest, FormatThatCannotBeKeptIsStillUsedAndTheUserIsTold)
{
    CaptureConfig unwritable(dir.filePath(QStringLiteral("missing/Vantu.Capture")));
    V4l2Driver driver(fake.Api(),
                      {QString::fromStdString(FakeCameraPath), QStringLiteral("Fake Camera"), {}, {}, 0},
                      unwritable);
    ASSERT_TRUE(driver.Open());
    QString error;
    EXPECT_FALSE(driver.ApplyFormat({V4L2_PIX_FMT_YUYV, 320, 240, {1, 15}}, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("The camera uses the new setting, but it could not be kept")))
        << error.toStdString();
    EXPECT_EQ(driver.FrameSize(), QSize(320, 240));
}

TEST(V4l2ReplugTest, UnpluggedCameraIsLostAndOpenedAgainWhereItComesBack)
{
    for (const bool silently : {false, true})
    {
        SCOPED_TRACE(silently ? "gone without a word" : "unplugged");
        QTemporaryDir dir;
        const auto node = [&](const char* name) { return dir.filePath(QString::fromLatin1(name)); };
        const auto touch = [](const QString& path) { return QFile(path).open(QIODevice::WriteOnly); };
        ASSERT_TRUE(touch(node("video0")) && touch(node("video1")));
        FakeV4l2 fake;
        FakeV4l2Camera& porch = fake.AddCamera(node("video0").toStdString(), "Porch");
        // The same model on another port is another camera.
        fake.AddCamera(node("video1").toStdString(), "Porch").BusInfo = "usb-0000:00:14.0-2";
        // Where the camera comes back: not listed until its node appears.
        fake.AddCamera(node("video3").toStdString(), "Porch");
        CaptureConfig config(dir.filePath(QStringLiteral("Vantu.Capture")));
        V4l2Driver driver(fake.Api(),
                          {node("video0"),
                           QStringLiteral("Porch"),
                           QString::fromStdString(porch.BusInfo),
                           {},
                           porch.DeviceCaps},
                          config);
        ErrorLog log;
        log.Watch(driver);
        std::vector<SourceState> states;
        QObject::connect(&driver, &CaptureDriver::SourceStateChanged, &log.Receiver,
                         [&](const SourceState& state) { states.push_back(state); });
        ASSERT_TRUE(driver.Open());

        fake.Unplug(node("video0").toStdString(), silently);
        ASSERT_TRUE(WaitUntil([&] { return !states.empty(); }));
        EXPECT_EQ(states.back().Status, SourceStatus::Lost);
        EXPECT_EQ(states.back().Source, QStringLiteral("Porch"));
        ASSERT_TRUE(QFile::remove(node("video0")) && touch(node("video3")));

        ASSERT_TRUE(WaitUntil([&] { return states.back().Status == SourceStatus::Live; }, 5000));
        EXPECT_EQ(driver.Device().Path, node("video3"));
        fake.QueueFrame(node("video3").toStdString(), {Bgr24Pattern(640, 480, 640 * 3, 1)});
        DibFrame frame;
        EXPECT_TRUE(WaitUntil([&] { return driver.TakeFrame(frame); }));
        driver.Close();
        EXPECT_TRUE(log.Errors.empty());
    }
}

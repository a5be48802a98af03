#include "capture/stream/StreamModule.h"
#include "capture/driver/CaptureConfig.h"
#include "capture/driver/CaptureDriver.h"
#include "capture/stream/DeferredStreamDriver.h"
#include "capture/stream/StreamSettings.h"
#include "ui/MessageBox.h"

#include <QSignalSpy>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <future>
#include <gtest/gtest.h>

// Each test loads the modules it needs itself, whatever ran before it.
class StreamModule : public ::testing::Test
{
protected:
    void SetUp() override { ForgetLoadedStreamModules(); }
};

TEST_F(StreamModule, AMissingModuleIsReportedInPlainWords)
{
    QString error;
    EXPECT_EQ(LoadStreamModule(QStringLiteral("/nonexistent/libvantu_stream.so"), &error), nullptr);
    EXPECT_TRUE(error.contains(QStringLiteral("could not be loaded")));
}

TEST_F(StreamModule, LoadsAndMakesADriverThatWaitsForALocation)
{
    QString error;
    const StreamModuleFunctions* module = LoadStreamModule(QStringLiteral(VANTU_STREAM_MODULE), &error);
    ASSERT_NE(module, nullptr) << error.toStdString();
    EXPECT_EQ(LoadStreamModule(QStringLiteral(VANTU_STREAM_MODULE), &error), module) << "loaded once";
    EXPECT_EQ(LoadStreamModule(QStringLiteral("/nonexistent/libvantu_stream.so"), &error), nullptr)
        << "each path is loaded on its own";

    QTemporaryDir dir;
    CaptureConfig config(dir.filePath(QStringLiteral("Vantu.Capture")));
    std::unique_ptr<CaptureDriver> driver = module->CreateDriver(config);
    ASSERT_NE(driver, nullptr);
    EXPECT_TRUE(driver->Open()) << "without a location the source connects, to be set up";
    EXPECT_EQ(driver->FrameSize(), QSize(640, 480)) << "the view keeps a size while there is no picture";
    DibFrame frame;
    EXPECT_FALSE(driver->TakeFrame(frame));
    EXPECT_TRUE(module->SourceDialog);
    driver->Close();
}

namespace
{
// Loads the module at path once the test opens the gate, as a slow first load of FFmpeg would.
class GatedLoad
{
public:
    explicit GatedLoad(QString path) : path_(std::move(path)) {}
    ~GatedLoad() { Open(); }

    StreamModuleLoader Loader()
    {
        return [this](QString* error)
        {
            gate_.wait();
            const StreamModuleFunctions* module = LoadStreamModule(path_, error);
            done_ = true;
            return module;
        };
    }
    void Open()
    {
        if (!opened_.exchange(true))
            opener_.set_value();
    }
    bool Done() const { return done_; }

private:
    QString path_;
    std::promise<void> opener_;
    std::shared_future<void> gate_ = opener_.get_future().share();
    std::atomic<bool> opened_{false};
    std::atomic<bool> done_{false};
};

class RecordedBoxes final : public IMessageBox
{
public:
    MsgBoxResult Show(const QString& prompt, MsgBoxStyle, const QString&) override
    {
        prompts.push_back(prompt);
        return MsgBoxResult::Ok;
    }
    QStringList prompts;
};

SourceState LastState(const QSignalSpy& states)
{
    return states.isEmpty() ? SourceState{} : states.last().at(0).value<SourceState>();
}
} // namespace

TEST_F(StreamModule, TheSourceConnectsAtOnceAndTheModulesDriverTakesOverWhenItHasLoaded)
{
    QTemporaryDir dir;
    CaptureConfig config(dir.filePath(QStringLiteral("Vantu.Capture")));
    QString error;
    ASSERT_TRUE(config.SetValue(QString::fromLatin1(StreamPictureKey), QStringLiteral("320x240"), &error));
    GatedLoad load(QStringLiteral(VANTU_STREAM_MODULE));
    DeferredStreamDriver driver(config, nullptr, load.Loader());
    QSignalSpy states(&driver, &CaptureDriver::SourceStateChanged);

    EXPECT_TRUE(driver.Open());
    EXPECT_EQ(LastState(states).Status, SourceStatus::Connecting);
    EXPECT_EQ(driver.FrameSize(), QSize(320, 240)) << "the size of the source's last run";
    DibFrame frame;
    EXPECT_FALSE(driver.TakeFrame(frame));

    load.Open();
    QTRY_COMPARE(LastState(states).Status, SourceStatus::Lost);
    EXPECT_TRUE(LastState(states).Reason.contains(QStringLiteral("no network camera address")))
        << "the module's driver tells its own state";
    EXPECT_EQ(driver.FrameSize(), QSize(320, 240));
}

TEST_F(StreamModule, ASourceClosedWhileItsModuleLoadsStaysClosedAndAMissingModuleIsTold)
{
    QTemporaryDir dir;
    CaptureConfig config(dir.filePath(QStringLiteral("Vantu.Capture")));
    {
        GatedLoad load(QStringLiteral(VANTU_STREAM_MODULE));
        DeferredStreamDriver driver(config, nullptr, load.Loader());
        QSignalSpy states(&driver, &CaptureDriver::SourceStateChanged);
        driver.Open();
        driver.Close();
        load.Open();
        QTRY_VERIFY(load.Done());
        QTest::qWait(20);
        EXPECT_EQ(states.size(), 1) << "only the connecting state: no driver was opened";
        EXPECT_TRUE(driver.FrameSize().isEmpty());
    }

    GatedLoad missing(QStringLiteral("/nonexistent/libvantu_stream.so"));
    missing.Open();
    DeferredStreamDriver driver(config, nullptr, missing.Loader());
    QSignalSpy states(&driver, &CaptureDriver::SourceStateChanged);
    driver.Open();
    QTRY_COMPARE(LastState(states).Status, SourceStatus::Lost);
    EXPECT_TRUE(LastState(states).Reason.contains(QStringLiteral("could not be loaded")));
    RecordedBoxes boxes;
    driver.ShowDialog(&StreamModuleFunctions::SourceDialog, nullptr, boxes);
    ASSERT_EQ(boxes.prompts.size(), 1);
    EXPECT_TRUE(boxes.prompts[0].contains(QStringLiteral("could not be loaded")));
}

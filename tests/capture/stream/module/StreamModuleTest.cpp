#include "capture/stream/StreamModule.h"
#include "capture/driver/CaptureConfig.h"
#include "capture/driver/CaptureDriver.h"

#include <QTemporaryDir>
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

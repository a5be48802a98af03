#include "capture/driver/CaptureDriverList.h"
#include "capture/modAVICAP.h"
#include "capture/stream/module/StreamDriver.h"
#include "capture/window/CaptureWindow.h"
#include "support/StreamClipWriter.h"
#include "support/StreamDriverEvents.h"
#include "support/StreamFixture.h"

#include <QWidget>
#include <gtest/gtest.h>
#include <thread>

namespace
{
// The stream driver as the one installed driver, playing files as fast as they decode.
class OneStreamDriver final : public CaptureDriverList
{
public:
    explicit OneStreamDriver(CaptureConfig& config) : config_(config) {}
    std::vector<CaptureDriverEntry> Enumerate() override
    {
        CaptureDriverEntry entry;
        entry.Name = QStringLiteral("Video file");
        entry.Create = [this]
        {
            auto driver = std::make_unique<StreamDriver>(
                config_, StreamDriverTiming{std::chrono::milliseconds(1000), false});
            // Held from the first frame, as once monitoring grabs: the file decodes far faster than the
            // test's first grab may come on a busy machine.
            driver->HoldFramesUntilTaken(true);
            return driver;
        };
        return {std::move(entry)};
    }

private:
    CaptureConfig& config_;
};

using StreamMonitorTest = StreamFixture;
} // namespace

TEST_F(StreamMonitorTest, FileHandsEveryFrameToGrabsThatComeLate)
{
    StreamClip clip;
    clip.Container = QStringLiteral("avi");
    clip.FramesPerSecond = 200;
    clip.Parts = {StreamClipPart{QSize(64, 48), 40, Qt::red, Qt::blue}};
    Set(StreamLocationKey, WriteClip(QStringLiteral("yard.avi"), clip));
    InstallCaptureDrivers(std::make_shared<OneStreamDriver>(*config_));
    QWidget parent;
    CaptureWindow* window =
        capCreateCaptureWindowA("Video file", WS_CHILD | WS_VISIBLE, 4, 12, 160, 120, &parent, 0);
    int analysed = 0;
    capSetCallbackOnFrame(window,
                          [&](CaptureWindow*, VIDEOHDR*)
                          {
                              ++analysed;
                              return std::intptr_t{0};
                          });
    ASSERT_EQ(capDriverConnect(window, 0), True);
    // Monitoring: a grab every tick, on a user-interface thread far slower than the file decodes.
    const bool ended = StreamWaitUntil(
        [&]
        {
            capGrabFrame(window);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            return window->State().Status == SourceStatus::Ended && !IsTrue(capGrabFrame(window));
        });
    EXPECT_TRUE(ended);
    EXPECT_EQ(analysed, 40);
    CAPSTATUS status{};
    capGetStatus(window, &status, sizeof status);
    EXPECT_EQ(status.dwCurrentVideoFramesDropped, 0u);
    delete window;
    InstallCaptureDrivers(nullptr);
}

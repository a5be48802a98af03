#pragma once

// A capture window connected to the test scene through a driver list of its own, as the program
// connects driver 0, for the benchmark programs.

#include "capture/driver/CaptureConfig.h"
#include "capture/driver/CaptureDriverList.h"
#include "capture/modAVICAP.h"
#include "capture/scene/TestSceneDriver.h"
#include "capture/window/CaptureWindow.h"

#include <QSize>
#include <QTemporaryDir>
#include <QWidget>
#include <cstdio>
#include <memory>

class TestSceneRig
{
public:
    // Connects the test scene at size and rate; Ready() tells whether that worked.
    TestSceneRig(QSize size, int framesPerSecond)
        : config_(directory_.filePath(QStringLiteral("Vantu.Capture"))), list_(std::make_shared<List>(*this))
    {
        QString error;
        if (!config_.SetValue(TestSceneFormatKey, TestSceneFormatText({size, framesPerSecond}), &error))
            std::fprintf(stderr, "The scene's format could not be set: %s\n", qPrintable(error));
        InstallCaptureDrivers(list_);
        frame_.resize(size.width() + 8, size.height() + 15);
        window_ = capCreateCaptureWindowA("Test scene", WS_CHILD | WS_VISIBLE, 4, 12, size.width(),
                                          size.height(), &frame_, 0);
        ready_ = capDriverConnect(window_, 0) == True && driver_ != nullptr && driver_->FrameSize() == size;
        capPreviewScale(window_, True);
        frame_.show();
    }

    ~TestSceneRig()
    {
        delete window_;
        InstallCaptureDrivers(nullptr);
    }

    TestSceneRig(const TestSceneRig&) = delete;
    TestSceneRig& operator=(const TestSceneRig&) = delete;

    bool Ready() const { return ready_; }
    CaptureWindow* Window() const { return window_; }
    TestSceneDriver* Driver() const { return driver_; }

private:
    class List final : public CaptureDriverList
    {
    public:
        explicit List(TestSceneRig& rig) : rig_(rig) {}
        std::vector<CaptureDriverEntry> Enumerate() override
        {
            CaptureDriverEntry entry = TestSceneDriverEntry(rig_.config_);
            auto create = entry.Create;
            entry.Create = [this, create]
            {
                std::unique_ptr<CaptureDriver> driver = create();
                rig_.driver_ = static_cast<TestSceneDriver*>(driver.get());
                return driver;
            };
            return {entry};
        }

    private:
        TestSceneRig& rig_;
    };

    QTemporaryDir directory_;
    CaptureConfig config_;
    std::shared_ptr<List> list_;
    QWidget frame_;
    CaptureWindow* window_ = nullptr;
    TestSceneDriver* driver_ = nullptr;
    bool ready_ = false;
};

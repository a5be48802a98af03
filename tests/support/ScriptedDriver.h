#pragma once

#include "capture/driver/CaptureDriver.h"
#include "capture/driver/CaptureDriverList.h"

#include <QSize>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

// A frame of the given size whose bytes add up to byteSum (at most 255 per byte).
DibFrame FrameWithByteSum(int width, int height, std::uint64_t byteSum);

class ScriptedDriver;

// A scripted camera: the test decides what the driver reports and which frames it hands out. Frames
// are handed out synchronously, one per grab, in the order they were queued.
struct ScriptedCamera
{
    QString Name = QStringLiteral("Scripted camera");
    QSize Size{320, 240};
    bool OpenSucceeds = true;
    bool HasSourceDialog = true;
    bool HasFormatDialog = true;
    // The size the format dialog switches to, when set.
    QSize SizeAfterFormatDialog;
    // The name the source dialog gives the camera, when set.
    QString NameAfterSourceDialog;
    int SourceDialogs = 0;
    int FormatDialogs = 0;
    int Opens = 0;
    std::deque<DibFrame> Frames;
    ScriptedDriver* Live = nullptr;

    void QueueFrame(std::uint64_t byteSum)
    {
        Frames.push_back(FrameWithByteSum(Size.width(), Size.height(), byteSum));
    }
    // Before the frame queued last, the camera produced count frames that were replaced unseen.
    void SkipFrames(std::uint64_t count)
    {
        if (!Frames.empty())
            Frames.back().Sequence += count;
    }
    // Reports a driver error as the capture thread of a real driver would.
    void RaiseError(int number, const QString& text);
    void RaiseStatus(int number, const QString& text);
    void RaiseState(const SourceState& state);
    // Tells the capture window that a frame is ready, as a capture thread does.
    void AnnounceFrame();
};

class ScriptedDriver final : public CaptureDriver
{
    Q_OBJECT

public:
    explicit ScriptedDriver(std::shared_ptr<ScriptedCamera> camera);
    ~ScriptedDriver() override;

    bool Open() override;
    void Close() override;
    QSize FrameSize() const override;
    bool TakeFrame(DibFrame& front) override;

    void Raise(int number, const QString& text) { emit ErrorOccurred(number, text); }
    void Status(int number, const QString& text) { emit StatusChanged(number, text); }
    void Announce() { emit FrameReady(); }
    void State(const SourceState& state) { emit SourceStateChanged(state); }

private:
    std::shared_ptr<ScriptedCamera> camera_;
    bool open_ = false;
    std::uint64_t sequence_ = 0;
};

// The installed drivers, one per scripted camera, in the order given. A camera's dialogs count their
// showings; the format dialog switches to SizeAfterFormatDialog when that is set.
class ScriptedDriverList final : public CaptureDriverList
{
public:
    std::vector<CaptureDriverEntry> Enumerate() override;
    CaptureConfig* Settings() override { return Config; }
    std::vector<std::shared_ptr<ScriptedCamera>> Cameras;
    // The capture settings, when a test gives some.
    CaptureConfig* Config = nullptr;
};

// Installs scripted cameras as the machine's drivers for the life of the object.
class ScopedScriptedDrivers
{
public:
    explicit ScopedScriptedDrivers(int cameras = 1);
    ~ScopedScriptedDrivers();
    ScriptedCamera& Camera(int index = 0) { return *list_->Cameras.at(static_cast<std::size_t>(index)); }
    std::shared_ptr<ScriptedDriverList> List() const { return list_; }

private:
    std::shared_ptr<ScriptedDriverList> list_;
};

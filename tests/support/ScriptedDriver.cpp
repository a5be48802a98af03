#include "support/ScriptedDriver.h"

#include <algorithm>

DibFrame FrameWithByteSum(int width, int height, std::uint64_t byteSum)
{
    DibFrame frame;
    frame.Resize(width, height);
    const std::uint64_t count = frame.Bits.size();
    const std::uint64_t sum = std::min<std::uint64_t>(byteSum, count * 255);
    const auto base = static_cast<std::uint8_t>(sum / count);
    std::fill(frame.Bits.begin(), frame.Bits.end(), base);
    std::fill_n(frame.Bits.begin(), static_cast<std::ptrdiff_t>(sum % count),
                static_cast<std::uint8_t>(base + 1));
    // As a real source would, the frame tells its sum.
    frame.KnownByteSum = sum;
    return frame;
}

void ScriptedCamera::RaiseError(int number, const QString& text)
{
    if (Live != nullptr)
        Live->Raise(number, text);
}

void ScriptedCamera::RaiseStatus(int number, const QString& text)
{
    if (Live != nullptr)
        Live->Status(number, text);
}

void ScriptedCamera::RaiseState(const SourceState& state)
{
    if (Live != nullptr)
        Live->State(state);
}

void ScriptedCamera::AnnounceFrame()
{
    if (Live != nullptr)
        Live->Announce();
}

ScriptedDriver::ScriptedDriver(std::shared_ptr<ScriptedCamera> camera) : camera_(std::move(camera)) {}

ScriptedDriver::~ScriptedDriver()
{
    if (camera_->Live == this)
        camera_->Live = nullptr;
}

bool ScriptedDriver::Open()
{
    ++camera_->Opens;
    open_ = camera_->OpenSucceeds;
    if (open_)
        camera_->Live = this;
    return open_;
}

void ScriptedDriver::Close()
{
    open_ = false;
}

QSize ScriptedDriver::FrameSize() const
{
    return open_ ? camera_->Size : QSize();
}

bool ScriptedDriver::TakeFrame(DibFrame& front)
{
    if (!open_ || camera_->Frames.empty())
        return false;
    front = std::move(camera_->Frames.front());
    camera_->Frames.pop_front();
    sequence_ += 1 + front.Sequence; // a queued frame's Sequence holds the frames skipped before it
    front.Sequence = sequence_;
    return true;
}

std::vector<CaptureDriverEntry> ScriptedDriverList::Enumerate()
{
    std::vector<CaptureDriverEntry> entries;
    for (const auto& camera : Cameras)
    {
        CaptureDriverEntry entry;
        entry.Name = camera->Name;
        entry.Version = QStringLiteral("1.0");
        // A camera keeps its key when the source dialog renames it.
        entry.Key = QStringLiteral("scripted/%1").arg(reinterpret_cast<quintptr>(camera.get()));
        entry.Create = [camera] { return std::make_unique<ScriptedDriver>(camera); };
        if (camera->HasSourceDialog)
            entry.SourceDialog = [camera](CaptureDriver&, QWidget*, IMessageBox&)
            {
                ++camera->SourceDialogs;
                if (!camera->NameAfterSourceDialog.isEmpty())
                    camera->Name = camera->NameAfterSourceDialog;
            };
        if (camera->HasFormatDialog)
            entry.FormatDialog = [camera](CaptureDriver&, QWidget*, IMessageBox&)
            {
                ++camera->FormatDialogs;
                if (camera->SizeAfterFormatDialog.isValid())
                    camera->Size = camera->SizeAfterFormatDialog;
            };
        entries.push_back(std::move(entry));
    }
    return entries;
}

ScopedScriptedDrivers::ScopedScriptedDrivers(int cameras) : list_(std::make_shared<ScriptedDriverList>())
{
    for (int i = 0; i < cameras; ++i)
    {
        auto camera = std::make_shared<ScriptedCamera>();
        camera->Name = QStringLiteral("Scripted camera %1").arg(i);
        list_->Cameras.push_back(camera);
    }
    InstallCaptureDrivers(list_);
}

ScopedScriptedDrivers::~ScopedScriptedDrivers()
{
    InstallCaptureDrivers(nullptr);
}

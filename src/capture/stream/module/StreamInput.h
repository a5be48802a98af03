#pragma once

#include "capture/stream/StreamInfo.h"
#include "capture/stream/StreamSettings.h"

#include <QSize>
#include <QString>
#include <atomic>
#include <chrono>
#include <memory>

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;

// Why a source could not be opened: it is not there, not a video or does not answer; or it is a
// video that no decoder here understands.
enum class StreamOpenFailure
{
    Unreachable,
    NoDecoder,
};

// One opened source: the container or network stream, its video decoder and the frame decoded last.
// Every blocking call gives up when stop is set, and a network source that sends nothing for
// NetworkTimeout counts as lost.
class StreamInput
{
public:
    static constexpr std::chrono::milliseconds NetworkTimeout{5000};

    enum class Result
    {
        Frame,   // Frame() holds the next picture
        End,     // the input ended and every frame was delivered; error tells why when it was not the end
        Failed,  // a network source was lost; error tells why
        Stopped, // stop was set
    };

    // Opens the location and its decoder. stop must outlive the input. Null on failure, with a plain
    // description in error and the kind of failure in failure.
    static std::unique_ptr<StreamInput> Open(const StreamSettings& settings, const std::atomic<bool>& stop,
                                             QString* error, StreamOpenFailure* failure = nullptr);
    ~StreamInput();
    StreamInput(const StreamInput&) = delete;
    StreamInput& operator=(const StreamInput&) = delete;

    const StreamInfo& Info() const { return info_; }
    bool IsNetwork() const { return network_; }

    // Reads and decodes until the next intact picture. Damaged packets and pictures are skipped.
    Result Next(QString* error);
    // The picture of the last Next() that gave Frame.
    const AVFrame& Frame() const { return *frame_; }
    // Its timestamp in seconds from the start of the source; a NaN when it has none.
    double FrameSeconds() const;

private:
    StreamInput(const std::atomic<bool>& stop, bool network);
    static int Interrupted(void* opaque);
    bool OpenContainer(const StreamSettings& settings, QString* error);
    bool OpenDecoder(QString* error);
    // False, with a plain description in error, for a size larger than the driver accepts.
    bool CheckSize(QString* error) const;
    void StartDeadline();
    bool ReadPacket(QString* error, bool* ended);
    QString ErrorText(int code) const;

    const std::atomic<bool>& stop_;
    const bool network_;
    std::chrono::steady_clock::time_point deadline_ = std::chrono::steady_clock::time_point::max();
    std::chrono::steady_clock::time_point openLimit_ = std::chrono::steady_clock::time_point::max();
    AVFormatContext* format_ = nullptr;
    AVCodecContext* decoder_ = nullptr;
    AVPacket* packet_ = nullptr;
    AVFrame* frame_ = nullptr;
    int streamIndex_ = -1;
    StreamInfo info_;
    // The first picture, decoded while opening when the container did not give the size.
    bool framePending_ = false;
    bool draining_ = false;
    QString endReason_;
};

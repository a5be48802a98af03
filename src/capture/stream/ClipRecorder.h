#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>

// Records video clips of events from the frames of any source, as Matroska files encoded with H.264
// (MPEG-4 Visual where no H.264 encoder is there). Made by the network camera and video file module,
// which carries FFmpeg. Every call comes from one thread, the recording's worker.
class ClipRecorder
{
public:
    virtual ~ClipRecorder() = default;

    // The encoder clips are made with, such as "libx264" or "mpeg4".
    virtual QString EncoderName() const = 0;

    // How far back the frames kept before a clip starts reach.
    virtual void SetPreMilliseconds(std::int64_t milliseconds) = 0;

    // Takes one frame: 24-bit blue-green-red pixels, rows stored bottom-up stride bytes apart,
    // captured at milliseconds (the source's clock). Without a clip it is kept for the next clip,
    // within the pre-event time and the buffer's bytes; during a clip it is encoded and written at
    // once. Frames of another size than the clip's are left out.
    virtual void Frame(const std::uint8_t* bits, int width, int height, int stride,
                       std::int64_t milliseconds) = 0;

    // Starts a clip at path with the frames kept from fromMilliseconds on; the frames then go into it
    // as they come. False, with the reason in plain words, when the file cannot be made.
    virtual bool Start(const QString& path, std::int64_t fromMilliseconds, QString* error) = 0;

    // Ends the clip: the file is finished and closed. False, with the reason, when its writing failed
    // at any point; what was written is kept.
    virtual bool Stop(QString* error) = 0;

    virtual bool Recording() const = 0;
};

// Makes a recorder whose frames kept before a clip take at most bufferBytes.
using CreateClipRecorderFunction = std::unique_ptr<ClipRecorder> (*)(std::size_t bufferBytes);

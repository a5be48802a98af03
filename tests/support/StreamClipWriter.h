#pragma once

#include <QColor>
#include <QSize>
#include <QString>
#include <vector>

// Short video clips for the stream driver's tests, written with libavformat and libavcodec.

enum class StreamClipCodec
{
    Mpeg4, // MPEG-4 Visual (the older MPEG-4 codec), limited-range YUV 4:2:0
    Mjpeg, // Motion JPEG, full-range YUV 4:2:0
};

// Frames of one size: the upper half (rows above Height / 2, rounded down to even) in Top, the rest
// in Bottom.
struct StreamClipPart
{
    QSize Size{64, 48};
    int Frames = 40;
    QColor Top = Qt::red;
    QColor Bottom = Qt::blue;
};

struct StreamClip
{
    // The container, by FFmpeg's muxer name: "avi", "matroska", "mpegts".
    QString Container = QStringLiteral("avi");
    StreamClipCodec Codec = StreamClipCodec::Mpeg4;
    int FramesPerSecond = 200;
    // Each frame's timestamp follows the one before by this many 1/FramesPerSecond ticks: more than one
    // leaves a gap, as a camera that sends a picture now and then.
    int TicksPerFrame = 1;
    // Parts after the first change the picture size in the middle of the stream (Motion JPEG only).
    std::vector<StreamClipPart> Parts{StreamClipPart{}};
};

// Writes the clip to path. False, with the reason in error, when it could not be written.
bool WriteStreamClip(const QString& path, const StreamClip& clip, QString* error);

// The row where Bottom starts in a picture of the given height.
int StreamClipSplitRow(int height);

#pragma once

#include <QSize>
#include <QString>

class CaptureConfig;

// How RTSP carries the video: TCP passes firewalls and loses nothing; UDP has less delay.
enum class StreamTransport
{
    Tcp,
    Udp,
};

// What the network camera / video file driver remembers across runs.
struct StreamSettings
{
    QString Location;
    StreamTransport Transport = StreamTransport::Tcp;
    // The size the frames are scaled to; empty for the source's own size.
    QSize Size;

    bool operator==(const StreamSettings&) const = default;
};

// Keys of the driver's settings in the capture layer's settings file.
inline constexpr char StreamLocationKey[] = "stream/location";
inline constexpr char StreamTransportKey[] = "stream/transport";
inline constexpr char StreamSizeKey[] = "stream/size";
// The picture size of the source last played, so that the next start shows a view of that size.
inline constexpr char StreamPictureKey[] = "stream/picture";

// The picture size assumed before a source's first picture when none is remembered for it.
inline constexpr QSize StreamDefaultSize{640, 480};

// The largest frame side the driver accepts; larger sizes come from damaged streams.
inline constexpr int StreamMaxSide = 8192;

StreamSettings LoadStreamSettings(const CaptureConfig& config);
// The picture size of the source last played; empty when none is remembered.
QSize LoadRememberedStreamSize(const CaptureConfig& config);
// Saves all three settings. False, with a plain description in error, when the file could not be written.
bool SaveStreamSettings(CaptureConfig& config, const StreamSettings& settings, QString* error);

// "640x480" for a size; "" for an empty size. ParseStreamSize gives an empty size for text that is not
// a size of 1 to StreamMaxSide pixels each way.
QString FormatStreamSize(QSize size);
QSize ParseStreamSize(const QString& text);

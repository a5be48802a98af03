#pragma once

#include <QImage>
#include <QPointF>
#include <QSize>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <vector>

struct FramePixels;

// The parts of the picture that are watched. The mask is a grey picture of any size, scaled to the
// frame: where it is dark (below half brightness) the picture is not watched. An empty mask watches
// the whole picture.
class DetectionMask
{
public:
    bool IsEmpty() const { return image_.isNull(); }
    // The mask as 8-bit grey, white where watched; null when empty.
    const QImage& Image() const { return image_; }
    // Changes with every change of the mask, and differs between masks.
    std::uint64_t Version() const { return version_; }

    // Takes image as the mask, in grey; a null image empties it.
    void SetImage(const QImage& image);
    // Reads the mask from an image file; false, with the reason, when it cannot be read, and the mask
    // is then left as it was.
    bool Load(const QString& path, QString* error);
    // Writes the mask as a PNG file; false, with the reason, when it cannot be written.
    bool Save(const QString& path, QString* error) const;
    void Clear();

    // Covers (or uncovers) a stroke from one point to another with a round brush, given in the pixels
    // of a picture of size picture. An empty mask first becomes a white one of that size.
    void Stroke(QSize picture, QPointF from, QPointF to, double radius, bool cover);

    // Whether each of columns x rows cells laid over the picture is watched, judged at its centre: 1
    // for watched, top row first.
    std::vector<std::uint8_t> Cells(int columns, int rows) const;

private:
    void Changed();

    QImage image_;
    std::uint64_t version_ = 0;
};

// The watched pixels of each row of a frame, as runs from one pixel to before another.
struct WatchedSpans
{
    struct Span
    {
        int Begin = 0;
        int End = 0;
    };
    int Width = 0;
    int Height = 0;
    std::uint64_t MaskVersion = 0;
    // The runs of all rows, top row first; row y's are those from RowStart[y] to RowStart[y + 1].
    std::vector<Span> Spans;
    std::vector<std::size_t> RowStart;
};

// The watched runs of each row of a picture of width x height under the mask.
WatchedSpans SpansForMask(const DetectionMask& mask, int width, int height);

// The sum of the bytes of the frame's watched pixels. spans must be made for the frame's size.
std::uint64_t MaskedByteSum(const FramePixels& frame, const WatchedSpans& spans);

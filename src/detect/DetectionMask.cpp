#include "detect/DetectionMask.h"

#include "common/ByteSum.h"
#include "detect/FramePixels.h"

#include <QColor>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <atomic>

namespace
{
// Below this grey a mask pixel covers the picture.
constexpr int Half = 128;
// The longest side of a mask painted anew.
constexpr int MaxPaintedSide = 640;

std::uint64_t NextVersion()
{
    static std::atomic<std::uint64_t> next{1};
    return next++;
}

// The mask pixel under the centre of picture pixel (or cell) index of count along a side of length.
int MaskPixel(int index, int count, int length)
{
    const long long scaled = (2LL * index + 1) * length / (2LL * count);
    return static_cast<int>(std::clamp<long long>(scaled, 0, length - 1));
}
} // namespace

void DetectionMask::Changed()
{
    version_ = NextVersion();
}

void DetectionMask::SetImage(const QImage& image)
{
    image_ = image.isNull() ? QImage() : image.convertToFormat(QImage::Format_Grayscale8);
    Changed();
}

bool DetectionMask::Load(const QString& path, QString* error)
{
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull())
    {
        if (error != nullptr)
            *error = reader.errorString();
        return false;
    }
    SetImage(image);
    return true;
}

bool DetectionMask::Save(const QString& path, QString* error) const
{
    QImageWriter writer(path, "png");
    if (writer.write(image_))
        return true;
    if (error != nullptr)
        *error = writer.errorString();
    return false;
}

void DetectionMask::Clear()
{
    image_ = QImage();
    Changed();
}

void DetectionMask::Stroke(QSize picture, QPointF from, QPointF to, double radius, bool cover)
{
    if (picture.isEmpty())
        return;
    if (image_.isNull())
    {
        // A mask needs no more detail than this: it stays quick to save and to scale.
        const QSize size = picture.width() > MaxPaintedSide || picture.height() > MaxPaintedSide
                               ? picture.scaled(MaxPaintedSide, MaxPaintedSide, Qt::KeepAspectRatio)
                               : picture;
        image_ = QImage(size.expandedTo(QSize(1, 1)), QImage::Format_Grayscale8);
        image_.fill(Qt::white);
    }
    const double sx = static_cast<double>(image_.width()) / picture.width();
    const double sy = static_cast<double>(image_.height()) / picture.height();
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.scale(sx, sy);
    const QColor colour = cover ? Qt::black : Qt::white;
    painter.setPen(QPen(colour, 2.0 * radius, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(from, to);
    // A line of no length draws nothing: the brush's round end is drawn as well.
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(to, radius, radius);
    painter.end();
    Changed();
}

std::vector<std::uint8_t> DetectionMask::Cells(int columns, int rows) const
{
    std::vector<std::uint8_t> cells(static_cast<std::size_t>(std::max(columns, 0)) * std::max(rows, 0), 1);
    if (image_.isNull())
        return cells;
    for (int y = 0; y < rows; ++y)
    {
        const std::uint8_t* line = image_.constScanLine(MaskPixel(y, rows, image_.height()));
        for (int x = 0; x < columns; ++x)
            cells[static_cast<std::size_t>(y) * columns + x] =
                line[MaskPixel(x, columns, image_.width())] >= Half ? 1 : 0;
    }
    return cells;
}

WatchedSpans SpansForMask(const DetectionMask& mask, int width, int height)
{
    WatchedSpans spans;
    spans.Width = std::max(width, 0);
    spans.Height = std::max(height, 0);
    spans.MaskVersion = mask.Version();
    spans.RowStart.reserve(static_cast<std::size_t>(spans.Height) + 1);
    const std::vector<std::uint8_t> watched = mask.Cells(spans.Width, spans.Height);
    for (int y = 0; y < spans.Height; ++y)
    {
        spans.RowStart.push_back(spans.Spans.size());
        const std::uint8_t* row = watched.data() + static_cast<std::size_t>(y) * spans.Width;
        for (int x = 0; x < spans.Width;)
        {
            if (row[x] == 0)
            {
                ++x;
                continue;
            }
            const int begin = x;
            while (x < spans.Width && row[x] != 0)
                ++x;
            spans.Spans.push_back({begin, x});
        }
    }
    spans.RowStart.push_back(spans.Spans.size());
    return spans;
}

std::uint64_t MaskedByteSum(const FramePixels& frame, const WatchedSpans& spans)
{
    if (frame.Width != spans.Width || frame.Height != spans.Height || !frame.Usable())
        return 0;
    std::uint64_t sum = 0;
    for (int y = 0; y < spans.Height; ++y)
    {
        const std::uint8_t* row = frame.TopDownRow(y);
        for (std::size_t i = spans.RowStart[y]; i < spans.RowStart[y + 1]; ++i)
        {
            const WatchedSpans::Span& span = spans.Spans[i];
            sum += ByteSum(row + 3 * static_cast<std::size_t>(span.Begin),
                           3 * static_cast<std::size_t>(span.End - span.Begin));
        }
    }
    return sum;
}

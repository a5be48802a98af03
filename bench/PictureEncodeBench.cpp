// Measures what the picture writer's worker thread does with a detection picture: encode a frame as
// JPEG (quality 85) or PNG and write it to a file that is renamed into place. Prints the fastest and
// the median of 30 runs at 768x576 and 1920x1080 of the whole write and of the encoding alone (into
// memory, without the file's writing and its flush to the disk), and the file sizes (the goal for
// JPEG at 1920x1080 is at most 15 ms). The frame is a scene-like picture: smooth shading with fine noise,
// which costs an encoder about what a camera's picture does.
//
// Usage: PictureEncodeBench

#include "store/PictureWriter.h"

#include <QBuffer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

namespace
{
QImage Scene(int width, int height)
{
    QImage image(width, height, QImage::Format_BGR888);
    std::mt19937 noise(7);
    for (int y = 0; y < height; ++y)
    {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < width; ++x)
        {
            const int grain = static_cast<int>(noise() % 9) - 4;
            row[x * 3] = static_cast<uchar>(std::clamp(x * 255 / width + grain, 0, 255));
            row[x * 3 + 1] = static_cast<uchar>(std::clamp(y * 255 / height + grain, 0, 255));
            row[x * 3 + 2] =
                static_cast<uchar>(std::clamp(((x / 64 + y / 64) % 2) * 160 + grain + 40, 0, 255));
        }
    }
    return image;
}
} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QTemporaryDir dir;
    for (const QSize size : {QSize(768, 576), QSize(1920, 1080)})
    {
        const QImage image = Scene(size.width(), size.height());
        for (const PictureFormat format : {PictureFormat::Jpeg, PictureFormat::Png})
        {
            const QString path = dir.filePath(format == PictureFormat::Jpeg ? QStringLiteral("p.jpg")
                                                                            : QStringLiteral("p.png"));
            std::vector<double> times;
            std::vector<double> encodeTimes;
            for (int run = 0; run < 30; ++run)
            {
                const auto encodeStart = std::chrono::steady_clock::now();
                QBuffer memory;
                memory.open(QIODevice::WriteOnly);
                QImageWriter encoder(&memory, format == PictureFormat::Jpeg ? "jpeg" : "png");
                encoder.setQuality(format == PictureFormat::Jpeg ? 85 : -1);
                encoder.write(image.convertToFormat(QImage::Format_RGB888));
                encodeTimes.push_back(
                    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - encodeStart)
                        .count());
                const auto start = std::chrono::steady_clock::now();
                QString error;
                if (!WritePicture(image, path, format, 85, &error))
                {
                    std::fprintf(stderr, "%s\n", qPrintable(error));
                    return 1;
                }
                times.push_back(
                    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                        .count());
            }
            std::sort(times.begin(), times.end());
            std::sort(encodeTimes.begin(), encodeTimes.end());
            std::printf(
                "%-4s %4dx%-4d write: fastest %6.1f ms, median %6.1f ms; encoding alone: fastest %6.1f ms, "
                "median %6.1f ms; file %7lld KB\n",
                format == PictureFormat::Jpeg ? "JPEG" : "PNG", size.width(), size.height(), times.front(),
                times[times.size() / 2], encodeTimes.front(), encodeTimes[encodeTimes.size() / 2],
                QFileInfo(path).size() / 1024);
        }
    }
    return 0;
}

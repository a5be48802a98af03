#include "capture/window/DibFile.h"

#include <QFile>
#include <QtEndian>

namespace
{
constexpr int FileHeaderSize = 14;
constexpr int InfoHeaderSize = 40;

template <typename T> void Put(QByteArray& out, T value)
{
    const T little = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&little), sizeof little);
}
// The 54 bytes in front of the pixel rows of a .Bmp file: file header and bitmap info header.
QByteArray DibFileHeader(const DibFrame& frame)
{
    const auto imageSize = static_cast<std::uint32_t>(frame.BytesUsed());
    QByteArray header;
    header.reserve(FileHeaderSize + InfoHeaderSize);
    header.append("BM");
    Put<std::uint32_t>(header, FileHeaderSize + InfoHeaderSize + imageSize);
    Put<std::uint32_t>(header, 0);
    Put<std::uint32_t>(header, FileHeaderSize + InfoHeaderSize);
    Put<std::uint32_t>(header, InfoHeaderSize);
    Put<std::int32_t>(header, frame.Width);
    Put<std::int32_t>(header, frame.Height); // positive: rows are stored bottom-up
    Put<std::uint16_t>(header, 1);           // planes
    Put<std::uint16_t>(header, 24);          // bits per pixel
    Put<std::uint32_t>(header, 0);           // uncompressed
    Put<std::uint32_t>(header, imageSize);
    Put<std::int32_t>(header, 2835); // 72 dots per inch, in pixels per metre
    Put<std::int32_t>(header, 2835);
    Put<std::uint32_t>(header, 0);
    Put<std::uint32_t>(header, 0);
    return header;
}
} // namespace

bool WriteDibFile(const QString& path, const DibFrame& frame, QString* error)
{
    if (frame.Empty() || frame.Bits.size() < frame.BytesUsed())
    {
        *error = QStringLiteral("there is no picture to save");
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
    {
        *error = file.errorString();
        return false;
    }
    const QByteArray header = DibFileHeader(frame);
    const auto imageSize = static_cast<qint64>(frame.BytesUsed());
    const bool complete =
        file.write(header) == header.size() &&
        file.write(reinterpret_cast<const char*>(frame.Bits.data()), imageSize) == imageSize && file.flush();
    if (complete)
        return true;
    *error = file.errorString();
    file.close();
    file.remove();
    return false;
}

#include "capture/window/DibFile.h"

#include "common/WriteAll.h"

#include <QFile>
#include <QtEndian>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

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
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
    {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    const QByteArray header = DibFileHeader(frame);
    int failure = 0;
    const bool complete = WriteAll(fd, header.constData(), header.size(), &failure) &&
                          WriteAll(fd, reinterpret_cast<const char*>(frame.Bits.data()),
                                   static_cast<qsizetype>(frame.BytesUsed()), &failure);
    if (::close(fd) != 0 && failure == 0)
        failure = errno;
    if (complete && failure == 0)
        return true;
    *error = QString::fromLocal8Bit(std::strerror(failure));
    ::unlink(QFile::encodeName(path).constData());
    return false;
}

#include "notify/WavDuration.h"

#include <QtEndian>
#include <algorithm>

namespace
{
constexpr quint16 PcmFormat = 1;
constexpr quint16 FloatFormat = 3;
constexpr quint16 ExtensibleFormat = 0xFFFE;

quint32 ReadUInt32(const QByteArray& bytes, qsizetype offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

quint16 ReadUInt16(const QByteArray& bytes, qsizetype offset)
{
    return qFromLittleEndian<quint16>(bytes.constData() + offset);
}
} // namespace

std::optional<WavHeader> ReadWavHeader(const QByteArray& head, qint64 fileSize)
{
    if (head.size() < 12 || !head.startsWith("RIFF") || head.mid(8, 4) != "WAVE")
        return std::nullopt;

    WavHeader header;
    qsizetype offset = 12;
    while (offset + 8 <= head.size())
    {
        const QByteArray id = head.mid(offset, 4);
        const quint32 size = ReadUInt32(head, offset + 4);
        const qsizetype body = offset + 8;
        if (id == "fmt " && body + 12 <= head.size())
        {
            header.Format = ReadUInt16(head, body);
            header.Channels = ReadUInt16(head, body + 2);
            header.ByteRate = ReadUInt32(head, body + 8);
            if (size >= 16 && body + 16 <= head.size())
                header.BitsPerSample = ReadUInt16(head, body + 14);
            // The sub-format's tag opens the GUID that follows the extension's size, valid bits and mask.
            if (header.Format == ExtensibleFormat && size >= 40 && body + 26 <= head.size())
                header.Format = ReadUInt16(head, body + 24);
        }
        else if (id == "data")
        {
            if (header.ByteRate == 0)
                return std::nullopt;
            // A data size beyond the end of the file (a file cut short, or one written while
            // streaming) counts up to the end of the file.
            const qint64 bytes = std::min<qint64>(size, std::max<qint64>(0, fileSize - body));
            header.Duration = std::chrono::milliseconds(bytes * 1000 / header.ByteRate);
            return header;
        }
        offset = body + static_cast<qsizetype>(size) + (size & 1);
    }
    return std::nullopt;
}

std::optional<std::chrono::milliseconds> WavDuration(const QByteArray& head, qint64 fileSize)
{
    const std::optional<WavHeader> header = ReadWavHeader(head, fileSize);
    return header ? std::optional(header->Duration) : std::nullopt;
}

bool WavPlayable(const WavHeader& header)
{
    if (header.Channels == 0)
        return false;
    if (header.Format == FloatFormat)
        return header.BitsPerSample == 32;
    return header.Format == PcmFormat &&
           (header.BitsPerSample == 8 || header.BitsPerSample == 16 || header.BitsPerSample == 32);
}

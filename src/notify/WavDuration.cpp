#include "notify/WavDuration.h"

#include <QtEndian>
#include <algorithm>

namespace
{
quint32 ReadUInt32(const QByteArray& bytes, qsizetype offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}
} // namespace

std::optional<std::chrono::milliseconds> WavDuration(const QByteArray& head, qint64 fileSize)
{
    if (head.size() < 12 || !head.startsWith("RIFF") || head.mid(8, 4) != "WAVE")
        return std::nullopt;

    quint32 byteRate = 0;
    qsizetype offset = 12;
    while (offset + 8 <= head.size())
    {
        const QByteArray id = head.mid(offset, 4);
        const quint32 size = ReadUInt32(head, offset + 4);
        const qsizetype body = offset + 8;
        if (id == "fmt " && body + 12 <= head.size())
            byteRate = ReadUInt32(head, body + 8);
        else if (id == "data")
        {
            if (byteRate == 0)
                return std::nullopt;
            // A data size beyond the end of the file (a file cut short, or one written while
            // streaming) counts up to the end of the file.
            const qint64 bytes = std::min<qint64>(size, std::max<qint64>(0, fileSize - body));
            return std::chrono::milliseconds(bytes * 1000 / byteRate);
        }
        offset = body + static_cast<qsizetype>(size) + (size & 1);
    }
    return std::nullopt;
}

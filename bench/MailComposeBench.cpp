// Measures what the mail sender does with a detection picture before it talks to the server: compose
// the message for a 1920x1080 24-bit bitmap (about 6 MB) with the picture in base64, and read the file
// and compose, as the sender's thread does. Prints the fastest and the median of 30 runs of each (the
// goal for composing is under 50 ms), and how much the peak memory of the process grew in the first
// read-and-compose next to the file's size plus the message's size (the goal is no more than these).
// Reading the file and touching a message's fresh memory cost what the machine's page faults cost;
// composing itself is the encoder's work.
//
// Usage: MailComposeBench

#include "notify/MimeMessage.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <utility>
#include <vector>

namespace
{
constexpr int Width = 1920;
constexpr int Height = 1080;

long PeakKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

// A bitmap file written row by row, so that writing it takes no picture-sized buffer.
QString WritePicture(const QTemporaryDir& dir)
{
    QFile file(dir.filePath(QStringLiteral("Detection_1-0.Bmp")));
    file.open(QIODevice::WriteOnly);
    const quint32 rowBytes = Width * 3;
    const quint32 imageBytes = rowBytes * Height;
    QByteArray header(54, '\0');
    auto put32 = [&header](int offset, quint32 value)
    {
        for (int i = 0; i < 4; ++i)
            header[offset + i] = static_cast<char>(value >> (8 * i));
    };
    header[0] = 'B';
    header[1] = 'M';
    put32(2, 54 + imageBytes);
    put32(10, 54);
    put32(14, 40);
    put32(18, Width);
    put32(22, Height);
    header[26] = 1;
    header[28] = 24;
    put32(34, imageBytes);
    file.write(header);
    QByteArray row(rowBytes, '\0');
    for (int y = 0; y < Height; ++y)
    {
        for (quint32 x = 0; x < rowBytes; ++x)
            row[x] = static_cast<char>((x * 31 + y * 17 + (x * y >> 7)) & 0xFF);
        file.write(row);
    }
    return file.fileName();
}

MimeMessage Message()
{
    MimeMessage message;
    message.From = message.To = QStringLiteral("watcher@example.org");
    message.Subject = QStringLiteral("Vantu Detection: 12/7/99 3:04:05 PM");
    message.Date = QDateTime::currentDateTime();
    message.MessageId = QStringLiteral("bench@example.org");
    message.ContentType = QStringLiteral("multipart/mixed");
    message.ContentTypeParameters = QStringLiteral("boundary=1234_boundary");
    message.Boundary = QStringLiteral("1234_boundary");
    message.PartContentType = QStringLiteral("image/bmp");
    message.PartDisposition = QStringLiteral("inline; filename=\"Detection.Bmp\"");
    return message;
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// The fastest and the median time of 30 runs, in milliseconds.
template <typename Work> std::pair<double, double> Measure(const Work& work)
{
    std::vector<double> times;
    for (int run = 0; run < 30; ++run)
    {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return {times.front(), times[times.size() / 2]};
}
} // namespace

int main()
{
    QTemporaryDir dir;
    const QString path = WritePicture(dir);
    const MimeMessage message = Message();

    const long before = PeakKilobytes();
    const qsizetype fileSize = QFile(path).size();
    const qsizetype messageSize = ComposeMessage(message, ReadFile(path)).size();
    const long grown = PeakKilobytes() - before;

    const QByteArray picture = ReadFile(path);
    const auto composing = Measure([&] { ComposeMessage(message, picture); });
    const auto readingAndComposing = Measure([&] { ComposeMessage(message, ReadFile(path)); });

    std::printf("picture %dx%d: file %lld bytes, message %lld bytes\n", Width, Height,
                static_cast<long long>(fileSize), static_cast<long long>(messageSize));
    std::printf("compose: fastest %.1f ms, median %.1f ms (goal: under 50 ms)\n", composing.first,
                composing.second);
    std::printf("read the file and compose: fastest %.1f ms, median %.1f ms\n", readingAndComposing.first,
                readingAndComposing.second);
    std::printf("peak memory grew by %ld KB; file plus message: %lld KB\n", grown,
                static_cast<long long>((fileSize + messageSize) / 1024));
    return 0;
}

#include "log/LogReader.h"

#include <QFile>

namespace
{
constexpr qint64 FirstPartBytes = 64 * 1024;
constexpr qint64 PartBytes = 512 * 1024;
} // namespace

LogReader::~LogReader()
{
    stop_ = true;
    room_.release(1000);
    if (worker_.joinable())
        worker_.join();
}

void LogReader::Start(const QString& path)
{
    worker_ = std::thread([this, path] { Read(path); });
}

void LogReader::Read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
    {
        const QString error = file.errorString();
        QMetaObject::invokeMethod(
            this, [this, error] { emit Failed(error); }, Qt::QueuedConnection);
        return;
    }
    LineSplitter splitter;
    qint64 partBytes = FirstPartBytes;
    QByteArray part;
    while (!stop_)
    {
        part.resize(partBytes);
        const qint64 read = file.read(part.data(), partBytes);
        if (read < 0)
        {
            const QString error = file.errorString();
            QMetaObject::invokeMethod(
                this, [this, error] { emit Failed(error); }, Qt::QueuedConnection);
            return;
        }
        if (read == 0)
            break;
        Post(splitter.Feed(QByteArrayView(part.constData(), read)));
        partBytes = PartBytes;
    }
    if (stop_)
        return;
    Post(splitter.Finish());
    QMetaObject::invokeMethod(
        this, [this] { emit Finished(); }, Qt::QueuedConnection);
}

void LogReader::Post(LogPiece piece)
{
    if (piece.Lines.isEmpty())
        return;
    room_.acquire();
    if (stop_)
        return;
    QMetaObject::invokeMethod(
        this,
        [this, piece = std::move(piece)]
        {
            room_.release();
            emit Piece(piece);
        },
        Qt::QueuedConnection);
}

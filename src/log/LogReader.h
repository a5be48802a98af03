#pragma once

#include "log/LineSplitter.h"

#include <QObject>
#include <QSemaphore>
#include <QString>
#include <atomic>
#include <thread>

// Reads a file line by line on a thread of its own and hands the lines to the thread that started
// it in pieces, the first one small so that the first page shows at once. It stays a few pieces
// ahead of the receiver, so a large file never piles up in memory twice.
class LogReader final : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    // Stops the reading and waits for the thread.
    ~LogReader() override;

    void Start(const QString& path);

signals:
    void Piece(const LogPiece& piece);
    void Finished();
    // Reading stopped; error says why in plain words.
    void Failed(const QString& error);

private:
    void Read(const QString& path);
    void Post(LogPiece piece);

    std::thread worker_;
    std::atomic<bool> stop_{false};
    QSemaphore room_{2};
};

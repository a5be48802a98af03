#pragma once

#include <QObject>
#include <QString>
#include <QThread>
#include <atomic>
#include <memory>

// A thread of its own for libcurl transfers: work posted to it runs there, one piece after the other.
// Stop lets the work queued before it run, each piece seeing Stopping() so that it can return at once,
// and waits for the thread.
class TransferThread
{
public:
    explicit TransferThread(const QString& name);
    ~TransferThread() { Stop(); }
    TransferThread(const TransferThread&) = delete;
    TransferThread& operator=(const TransferThread&) = delete;

    template <typename Work> void Post(Work work)
    {
        QMetaObject::invokeMethod(worker_.get(), std::move(work), Qt::QueuedConnection);
    }

    // False when the thread was stopped before.
    bool Stop();
    const std::atomic<bool>& Stopping() const { return stopping_; }

private:
    std::atomic<bool> stopping_{false};
    QThread thread_;
    std::unique_ptr<QObject> worker_ = std::make_unique<QObject>();
};

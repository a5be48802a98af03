#pragma once

#include "common/DetectionEvent.h"
#include "notify/TransferThread.h"
#include "notify/WebhookSession.h"

#include <QObject>
#include <functional>

class IClock;

// Posts the first picture of each event to the web address the user set, on a worker thread. A post
// that fails writes one log line "Webhook Error: <reason>: <date>".
class WebhookPush final : public QObject
{
    Q_OBJECT

public:
    WebhookPush(IClock& clock, std::function<void(const QString& text)> writeLog, QObject* parent = nullptr);
    // Cancels the post in flight and waits for the worker.
    ~WebhookPush() override;

    // Posts event's first picture to url, with token when there is one.
    void EventStarted(const DetectionEvent& event, const QString& url, const QString& token);

signals:
    // A post ended, delivered or not.
    void Finished(const WebhookOutcome& outcome);

private:
    IClock& clock_;
    std::function<void(const QString&)> writeLog_;
    TransferThread sender_;
};

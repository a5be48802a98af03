#include "notify/WebhookPush.h"

#include "ui/DateText.h"

#include <curl/curl.h>

WebhookPush::WebhookPush(IClock& clock, std::function<void(const QString&)> writeLog, QObject* parent)
    : QObject(parent), clock_(clock), writeLog_(std::move(writeLog)), worker_(std::make_unique<QObject>())
{
    static const CURLcode curlReady = curl_global_init(CURL_GLOBAL_DEFAULT);
    Q_UNUSED(curlReady);
    worker_->moveToThread(&thread_);
    thread_.setObjectName(QStringLiteral("WebhookSender"));
    thread_.start();
}

WebhookPush::~WebhookPush()
{
    stopping_ = true;
    QMetaObject::invokeMethod(
        worker_.get(), [] { QThread::currentThread()->quit(); }, Qt::QueuedConnection);
    thread_.wait();
}

void WebhookPush::EventStarted(const DetectionEvent& event, const QString& url, const QString& token)
{
    if (url.isEmpty())
        return;
    const WebhookJob job{url, token, event.FirstPicture.value_or(QString()), event.Start, event.Detections};
    QMetaObject::invokeMethod(
        worker_.get(),
        [this, job]
        {
            const WebhookOutcome outcome = PostWebhook(job, stopping_);
            QMetaObject::invokeMethod(
                this,
                [this, outcome]
                {
                    if (!outcome.Delivered)
                        writeLog_(QStringLiteral("Webhook Error: ") + outcome.Reason + QStringLiteral(": ") +
                                  NowText(clock_));
                    emit Finished(outcome);
                },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

#include "notify/WebhookPush.h"

#include "ui/DateText.h"

WebhookPush::WebhookPush(IClock& clock, std::function<void(const QString&)> writeLog, QObject* parent)
    : QObject(parent), clock_(clock), writeLog_(std::move(writeLog)), sender_(QStringLiteral("WebhookSender"))
{
}

WebhookPush::~WebhookPush()
{
    sender_.Stop();
}

void WebhookPush::EventStarted(const DetectionEvent& event, const QString& url, const QString& token)
{
    if (url.isEmpty())
        return;
    const WebhookJob job{url, token, event.FirstPicture.value_or(QString()), event.Start, event.Detections};
    sender_.Post(
        [this, job]
        {
            const WebhookOutcome outcome = PostWebhook(job, sender_.Stopping());
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
        });
}

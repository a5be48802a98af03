#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <atomic>
#include <chrono>
#include <utility>
#include <vector>

// One POST of an event's first picture to a web address (an ntfy topic or any webhook receiver).
struct WebhookJob
{
    QString Url;
    // Sent as "Authorization: Bearer"; empty sends none.
    QString Token;
    // The picture's file; empty sends a line of text instead.
    QString Picture;
    QDateTime Start;
    std::int32_t Detections = 0;
    std::chrono::milliseconds ConnectWithin{10000};
    std::chrono::milliseconds GiveUpAfter{30000};
};

struct WebhookOutcome
{
    bool Delivered = false;
    // Why it was not delivered, in plain words; never holds the token.
    QString Reason;
};

// The headers and body of the POST, without the token's header.
struct WebhookRequest
{
    std::vector<std::pair<QByteArray, QByteArray>> Headers;
    QByteArray Body;
};
// Reads the picture; false with the reason when it cannot be read.
bool MakeWebhookRequest(const WebhookJob& job, WebhookRequest* request, QString* error);

// Posts with libcurl and returns when the server answered, the time-outs passed or abort became true.
// Blocks: call it on a worker thread.
WebhookOutcome PostWebhook(const WebhookJob& job, const std::atomic<bool>& abort);

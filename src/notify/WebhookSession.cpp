#include "notify/WebhookSession.h"

#include <QFile>
#include <QFileInfo>
#include <curl/curl.h>

#include <cstring>
#include <memory>

namespace
{
QByteArray PictureMediaType(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("bmp"))
        return "image/bmp";
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return "image/jpeg";
    if (suffix == QLatin1String("png"))
        return "image/png";
    return "application/octet-stream";
}

// A header's value: control characters would end the header and start another.
QByteArray HeaderValue(const QString& text)
{
    QByteArray value = text.toUtf8();
    value.removeIf([](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
    return value;
}

int PostProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return static_cast<const std::atomic<bool>*>(user)->load() ? 1 : 0;
}

size_t IgnorePostReply(char*, size_t size, size_t count, void*)
{
    return size * count;
}

struct PostEasyDeleter
{
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct PostListDeleter
{
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
} // namespace

bool MakeWebhookRequest(const WebhookJob& job, WebhookRequest* request, QString* error)
{
    const QByteArray start =
        job.Start.toOffsetFromUtc(job.Start.offsetFromUtc()).toString(Qt::ISODate).toUtf8();
    request->Headers = {{"Title", "Vantu: movement detected"},
                        {"X-Vantu-Event-Start", start},
                        {"X-Vantu-Detections", QByteArray::number(job.Detections)}};
    if (job.Picture.isEmpty())
    {
        request->Headers.emplace_back("Content-Type", "text/plain; charset=utf-8");
        request->Body =
            "Movement detected at " + job.Start.time().toString(QStringLiteral("HH:mm:ss")).toUtf8();
        return true;
    }
    QFile file(job.Picture);
    if (!file.open(QIODevice::ReadOnly))
    {
        *error = QStringLiteral("the picture %1 cannot be read (%2)").arg(job.Picture, file.errorString());
        return false;
    }
    request->Body = file.readAll();
    request->Headers.emplace_back("Content-Type", PictureMediaType(job.Picture));
    request->Headers.emplace_back("Filename", HeaderValue(QFileInfo(job.Picture).fileName()));
    return true;
}

WebhookOutcome PostWebhook(const WebhookJob& job, const std::atomic<bool>& abort)
{
    WebhookOutcome outcome;
    WebhookRequest request;
    if (!MakeWebhookRequest(job, &request, &outcome.Reason))
        return outcome;

    const std::unique_ptr<CURL, PostEasyDeleter> easy(curl_easy_init());
    curl_slist* list = nullptr;
    for (const auto& [name, value] : request.Headers)
        list = curl_slist_append(list, (name + ": " + value).constData());
    if (!job.Token.isEmpty())
        list = curl_slist_append(list, ("Authorization: Bearer " + HeaderValue(job.Token)).constData());
    // No "Expect: 100-continue": the body goes at once.
    list = curl_slist_append(list, "Expect:");
    const std::unique_ptr<curl_slist, PostListDeleter> headers(list);
    if (!easy || !headers)
    {
        outcome.Reason = QStringLiteral("out of memory");
        return outcome;
    }
    char error[CURL_ERROR_SIZE] = {};
    const QByteArray url = job.Url.toUtf8();
    CURL* e = easy.get();
    curl_easy_setopt(e, CURLOPT_URL, url.constData());
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_POST, 1L);
    curl_easy_setopt(e, CURLOPT_POSTFIELDS, request.Body.constData());
    curl_easy_setopt(e, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.Body.size()));
    curl_easy_setopt(e, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, IgnorePostReply);
    curl_easy_setopt(e, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(e, CURLOPT_XFERINFOFUNCTION, PostProgress);
    curl_easy_setopt(e, CURLOPT_XFERINFODATA, const_cast<std::atomic<bool>*>(&abort));
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(job.ConnectWithin.count()));
    curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, static_cast<long>(job.GiveUpAfter.count()));
    const CURLcode result = curl_easy_perform(e);
    long status = 0;
    curl_easy_getinfo(e, CURLINFO_RESPONSE_CODE, &status);
    if (result != CURLE_OK)
        outcome.Reason = abort.load()             ? QStringLiteral("cancelled at exit")
                         : std::strlen(error) > 0 ? QString::fromUtf8(error)
                                                  : QString::fromUtf8(curl_easy_strerror(result));
    else if (status < 200 || status > 299)
        outcome.Reason = QStringLiteral("the server answered with status %1").arg(status);
    outcome.Delivered = outcome.Reason.isEmpty();
    if (!job.Token.isEmpty())
        outcome.Reason.replace(job.Token, QStringLiteral("(token)"));
    return outcome;
}

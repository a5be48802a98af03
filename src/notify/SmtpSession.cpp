#include "notify/SmtpSession.h"
#include "notify/HidePassword.h"
#include "notify/SmtpServerAddress.h"

#include <QByteArrayList>
#include <curl/curl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <optional>

namespace
{
constexpr qsizetype MaxReplyLength = 300;

// What one attempt saw of the conversation: the verb of the last command, and the first error reply
// of the server with the verb it answered (the connection's close may follow it with other replies).
// Command arguments are never kept: AUTH carries the password.
struct Conversation
{
    const std::atomic<bool>* Abort = nullptr;
    const QByteArray* Message = nullptr;
    qsizetype Offset = 0;
    QByteArray LastCommand;
    QByteArray RefusedCommand;
    QByteArray Refusal;
    // The server sent a line that is not an SMTP reply (three digits, then a blank, a dash or nothing).
    bool NotSmtp = false;
};

bool IsSmtpReplyLine(const QByteArray& line)
{
    const auto digit = [&line](qsizetype i) { return line[i] >= '0' && line[i] <= '9'; };
    return line.size() >= 3 && digit(0) && digit(1) && digit(2) &&
           (line.size() == 3 || line[3] == ' ' || line[3] == '-');
}

size_t ReadMessage(char* buffer, size_t size, size_t count, void* user)
{
    auto& conversation = *static_cast<Conversation*>(user);
    const qsizetype left = conversation.Message->size() - conversation.Offset;
    const auto length = std::min<qsizetype>(left, static_cast<qsizetype>(size * count));
    std::memcpy(buffer, conversation.Message->constData() + conversation.Offset, static_cast<size_t>(length));
    conversation.Offset += length;
    return static_cast<size_t>(length);
}

int Observe(CURL*, curl_infotype type, char* data, size_t size, void* user)
{
    auto& conversation = *static_cast<Conversation*>(user);
    const QByteArray text(data, static_cast<qsizetype>(size));
    if (type == CURLINFO_HEADER_OUT)
    {
        // Lines that follow an AUTH command carry the name and the password; they are not commands.
        static const QList<QByteArray> verbs = {"EHLO", "HELO", "STARTTLS", "AUTH",
                                                "MAIL", "RCPT", "DATA",     "QUIT"};
        const QByteArray verb = text.left(text.indexOf(' ')).trimmed().toUpper();
        if (verbs.contains(verb))
            conversation.LastCommand = verb;
    }
    else if (type == CURLINFO_HEADER_IN)
    {
        for (const QByteArray& line : text.split('\n'))
            if (!line.trimmed().isEmpty() && !IsSmtpReplyLine(line.trimmed()))
                conversation.NotSmtp = true;
        const QByteArray reply = text.trimmed().split('\n').constLast().trimmed();
        if (conversation.Refusal.isEmpty() && (reply.startsWith('4') || reply.startsWith('5')))
        {
            // The reply goes into the log: one line of reasonable length.
            conversation.Refusal = reply.left(MaxReplyLength);
            std::replace_if(
                conversation.Refusal.begin(), conversation.Refusal.end(),
                [](char c) { return static_cast<unsigned char>(c) < 0x20; }, ' ');
            conversation.RefusedCommand = conversation.LastCommand;
        }
    }
    return 0;
}

// libcurl calls this while it works, also while it waits for a reply; a non-zero result ends the
// transfer at once, without the goodbye to the server that would wait for its answer. A server that
// does not speak SMTP is not waited for either.
int Progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    const auto& conversation = *static_cast<const Conversation*>(user);
    return conversation.Abort->load() || conversation.NotSmtp ? 1 : 0;
}

// A mailbox for the envelope: characters that would end or break the command are left out.
QByteArray Mailbox(const QString& address)
{
    QByteArray text = address.trimmed().toUtf8();
    text.removeIf([](char c) { return static_cast<unsigned char>(c) <= 0x20 || c == '<' || c == '>'; });
    return '<' + text + '>';
}

struct CurlEasyDeleter
{
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct CurlListDeleter
{
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

struct Attempt
{
    CURLcode Result = CURLE_OK;
    Conversation Seen;
    QByteArray Error;
};

Attempt RunAttempt(const SmtpJob& job, const SmtpServerAddress& server, bool login, curl_usessl encryption,
                   const std::atomic<bool>& abort)
{
    Attempt attempt;
    attempt.Seen.Abort = &abort;
    attempt.Seen.Message = &job.Message;
    char error[CURL_ERROR_SIZE] = {};
    const std::unique_ptr<CURL, CurlEasyDeleter> easy(curl_easy_init());
    const std::unique_ptr<curl_slist, CurlListDeleter> recipients(
        curl_slist_append(nullptr, Mailbox(job.To).constData()));
    if (!easy || !recipients)
    {
        attempt.Result = CURLE_OUT_OF_MEMORY;
        return attempt;
    }

    const QByteArray url = server.Url().toUtf8();
    const QByteArray from = Mailbox(job.From);
    const QByteArray user = job.UserName.toUtf8();
    const QByteArray password = job.Password.toUtf8();
    const auto giveUpSeconds =
        static_cast<long>(std::max<long long>(1, (job.GiveUpAfter.count() + 999) / 1000));
    CURL* e = easy.get();
    curl_easy_setopt(e, CURLOPT_URL, url.constData());
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
    curl_easy_setopt(e, CURLOPT_USE_SSL, static_cast<long>(encryption));
    curl_easy_setopt(e, CURLOPT_MAIL_FROM, from.constData());
    curl_easy_setopt(e, CURLOPT_MAIL_RCPT, recipients.get());
    if (login)
    {
        curl_easy_setopt(e, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(e, CURLOPT_PASSWORD, password.constData());
    }
    curl_easy_setopt(e, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(e, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(job.Message.size()));
    curl_easy_setopt(e, CURLOPT_READFUNCTION, ReadMessage);
    curl_easy_setopt(e, CURLOPT_READDATA, &attempt.Seen);
    curl_easy_setopt(e, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(e, CURLOPT_DEBUGFUNCTION, Observe);
    curl_easy_setopt(e, CURLOPT_DEBUGDATA, &attempt.Seen);
    curl_easy_setopt(e, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(e, CURLOPT_XFERINFOFUNCTION, Progress);
    curl_easy_setopt(e, CURLOPT_XFERINFODATA, &attempt.Seen);
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(job.GiveUpAfter.count()));
    curl_easy_setopt(e, CURLOPT_SERVER_RESPONSE_TIMEOUT, giveUpSeconds);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME, giveUpSeconds);

    CURLM* multi = curl_multi_init();
    if (!multi)
    {
        attempt.Result = CURLE_OUT_OF_MEMORY;
        return attempt;
    }
    curl_multi_add_handle(multi, e);
    // The progress function ends the transfer soon after abort is set; should libcurl not call it in
    // some state, the loop is left half a second later all the same.
    constexpr auto AbortGrace = std::chrono::milliseconds(500);
    std::optional<std::chrono::steady_clock::time_point> abortSeen;
    int running = 1;
    while (true)
    {
        if (abort.load() && !abortSeen)
            abortSeen = std::chrono::steady_clock::now();
        if (abortSeen && std::chrono::steady_clock::now() - *abortSeen > AbortGrace)
        {
            attempt.Result = CURLE_ABORTED_BY_CALLBACK;
            break;
        }
        if (curl_multi_perform(multi, &running) != CURLM_OK)
        {
            attempt.Result = CURLE_FAILED_INIT;
            break;
        }
        int queued = 0;
        if (const CURLMsg* message = curl_multi_info_read(multi, &queued);
            message && message->msg == CURLMSG_DONE)
        {
            attempt.Result = message->data.result;
            break;
        }
        curl_multi_poll(multi, nullptr, 0, 100, nullptr);
    }
    curl_multi_remove_handle(multi, e);
    curl_multi_cleanup(multi);
    attempt.Error = error;
    return attempt;
}

QString RefusalReason(const Conversation& seen)
{
    const QByteArray& command = seen.RefusedCommand;
    QString what = QStringLiteral("the request");
    if (command == "AUTH")
        what = QStringLiteral("the login");
    else if (command == "MAIL")
        what = QStringLiteral("the sender address");
    else if (command == "RCPT")
        what = QStringLiteral("the recipient address");
    else if (command == "DATA")
        what = QStringLiteral("the message");
    return QStringLiteral("The mail server refused %1 (its reply: %2)")
        .arg(what, QString::fromUtf8(seen.Refusal));
}

QString FailureReason(const Attempt& attempt, const SmtpServerAddress& server, const SmtpJob& job)
{
    const QString where = server.Display();
    if (attempt.Seen.NotSmtp)
        return QStringLiteral("The mail server %1 sent a reply that is not SMTP").arg(where);
    switch (attempt.Result)
    {
    case CURLE_COULDNT_RESOLVE_HOST:
        return QStringLiteral("The mail server %1 could not be found").arg(server.Host);
    case CURLE_COULDNT_CONNECT:
        return QStringLiteral("Could not connect to the mail server %1").arg(where);
    case CURLE_OPERATION_TIMEDOUT:
    {
        const long long seconds = std::max<long long>(1, job.GiveUpAfter.count() / 1000);
        return QStringLiteral("The mail server %1 did not answer within %2 %3")
            .arg(where)
            .arg(seconds)
            .arg(seconds == 1 ? QStringLiteral("second") : QStringLiteral("seconds"));
    }
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_CONNECT_ERROR:
        return QStringLiteral("No secure connection to the mail server %1 could be made (%2)")
            .arg(where, QString::fromUtf8(attempt.Error));
    case CURLE_ABORTED_BY_CALLBACK:
        return QStringLiteral("Sending to the mail server %1 was stopped").arg(where);
    default:
        break;
    }
    if (!attempt.Seen.Refusal.isEmpty())
        return RefusalReason(attempt.Seen);
    if (attempt.Result == CURLE_LOGIN_DENIED)
        return QStringLiteral("The mail server refused the login");
    return QStringLiteral("Sending to the mail server %1 failed (%2)")
        .arg(where, attempt.Error.isEmpty() ? QString::fromUtf8(curl_easy_strerror(attempt.Result))
                                            : QString::fromUtf8(attempt.Error));
}

SmtpOutcome Send(const SmtpJob& job, const std::atomic<bool>& abort)
{
    const std::optional<SmtpServerAddress> server = ParseSmtpServer(job.Server);
    if (!server)
        return {false,
                QStringLiteral("The mail server setting \"%1\" is not a server address (host, host:port, "
                               "smtp://host:port or smtps://host:port)")
                    .arg(job.Server)};

    // A login goes only over an encrypted connection or to this machine: to any other server
    // STARTTLS is demanded when there is a login to send. A server that cannot encrypt is tried
    // once more without the login, which is enough for a server that needs none.
    const bool login = !job.UserName.isEmpty();
    const bool plainLoginAllowed = server->Tls || server->IsLoopback();
    const curl_usessl encryption = login && !plainLoginAllowed ? CURLUSESSL_ALL : CURLUSESSL_TRY;
    Attempt attempt = RunAttempt(job, *server, login, encryption, abort);
    if (attempt.Result == CURLE_USE_SSL_FAILED && encryption == CURLUSESSL_ALL)
    {
        attempt = RunAttempt(job, *server, false, CURLUSESSL_TRY, abort);
        if (attempt.Result != CURLE_OK && attempt.Seen.Refusal.startsWith("530"))
            return {false,
                    QStringLiteral("The mail server %1 asks for a login but offers no encryption, and the "
                                   "password is sent only over an encrypted connection")
                        .arg(server->Display())};
    }
    if (attempt.Result == CURLE_OK)
        return {true, {}};
    return {false, FailureReason(attempt, *server, job)};
}
} // namespace

SmtpOutcome SendSmtp(const SmtpJob& job, const std::atomic<bool>& abort)
{
    SmtpOutcome outcome = Send(job, abort);
    outcome.Reason = HidePassword(outcome.Reason, job.Password);
    return outcome;
}

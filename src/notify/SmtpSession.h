#pragma once

#include <QByteArray>
#include <QString>
#include <atomic>
#include <chrono>

// One message for one SMTP transaction.
struct SmtpJob
{
    // The server setting as the user wrote it (see ParseSmtpServer).
    QString Server;
    QString From;
    QString To;
    // Used when the server offers AUTH, and only over an encrypted connection or to a loopback server.
    QString UserName;
    QString Password;
    QByteArray Message;
    // A server that does not answer for this long is given up.
    std::chrono::milliseconds GiveUpAfter{60000};
};

struct SmtpOutcome
{
    bool Delivered = false;
    // Why the message was not delivered, in plain words with the server's reply where there is one;
    // never holds the password.
    QString Reason;
};

// Sends the message with libcurl and returns when the server has answered, the give-up time has
// passed, or abort became true (within half a second, without waiting for the server's goodbye).
// Blocks: call it on a worker thread.
SmtpOutcome SendSmtp(const SmtpJob& job, const std::atomic<bool>& abort);

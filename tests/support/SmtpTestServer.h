#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A real SMTP server (aiosmtpd) on a free loopback port, for as long as the object lives.
class SmtpTestServer
{
public:
    // options: "--auth", "user:password" offers AUTH and accepts this login only; "--reject-recipient"
    // answers RCPT with 550; "--starttls" offers STARTTLS with a self-signed certificate.
    explicit SmtpTestServer(const QStringList& options = {});
    ~SmtpTestServer();

    bool Started() const { return port_ > 0; }
    QString Address() const { return QStringLiteral("127.0.0.1:%1").arg(port_); }

    int MessageCount() const;
    // The message as the server received it (after the end-of-data dot), and the name the client
    // logged in with (empty for none), of message 1, 2, ...
    QByteArray Message(int number) const;
    QString Login(int number) const;

private:
    QTemporaryDir folder_;
    QProcess process_;
    int port_ = 0;
};

#pragma once

#include <QString>
#include <optional>

// Where mail goes: the server setting as "host", "host:port", "smtp://host[:port]" or
// "smtps://host[:port]". A plain host uses port 25; smtps:// (TLS from the first byte) defaults to 465.
struct SmtpServerAddress
{
    bool Tls = false;
    QString Host;
    int Port = 25;

    // The address as libcurl takes it, for example "smtp://mail.example.org:587".
    QString Url() const;
    QString Display() const;
    // A server on this machine: a login may go to it without encryption.
    bool IsLoopback() const;
};

// Empty when the text is none of the accepted forms.
std::optional<SmtpServerAddress> ParseSmtpServer(const QString& text);

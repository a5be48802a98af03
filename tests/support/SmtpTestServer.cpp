#include "support/SmtpTestServer.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

SmtpTestServer::SmtpTestServer(const QStringList& options)
{
    const QStringList arguments =
        QStringList{QStringLiteral(VANTU_TEST_SUPPORT_DIR "/smtp_server.py"), folder_.path()} + options;
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // The system's Python, which Debian's python3-aiosmtpd belongs to (another python3 may come first
    // in PATH).
    process_.start(QStringLiteral("/usr/bin/python3"), arguments);
    if (!process_.waitForStarted(10000))
        return;
    while (!process_.canReadLine() && process_.waitForReadyRead(10000))
    {
    }
    port_ = process_.readLine().trimmed().toInt();
}

SmtpTestServer::~SmtpTestServer()
{
    process_.kill();
    process_.waitForFinished(5000);
}

int SmtpTestServer::MessageCount() const
{
    return static_cast<int>(QDir(folder_.path()).entryList({QStringLiteral("*.json")}, QDir::Files).size());
}

QByteArray SmtpTestServer::Message(int number) const
{
    QFile file(folder_.filePath(QStringLiteral("%1.eml").arg(number)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString SmtpTestServer::Login(int number) const
{
    QFile file(folder_.filePath(QStringLiteral("%1.json").arg(number)));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object().value(QStringLiteral("login")).toString();
}

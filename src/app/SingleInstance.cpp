#include "app/SingleInstance.h"

#include <QByteArrayList>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <unistd.h>

namespace
{
// A request is one line of words: "front" brings the window to the front, "monitor" starts monitoring.
const QByteArray Front = QByteArrayLiteral("front");
const QByteArray Monitor = QByteArrayLiteral("monitor");
const QByteArray Reply = QByteArrayLiteral("ok\n");
// A request longer than this is no request of ours.
constexpr qint64 MaxRequestLength = 64;
// A running program answers at once, from its event loop; a slow desktop may keep it busy a moment.
constexpr int AnswerTimeoutMs = 5000;
} // namespace

SingleInstance::SingleInstance(const QString& appDirectory, QObject* parent)
    : QObject(parent), name_(ServerName(appDirectory))
{
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this,
            [this]
            {
                while (QLocalSocket* socket = server_.nextPendingConnection())
                {
                    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Answer(socket); });
                    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
                    if (socket->bytesAvailable() > 0)
                        Answer(socket);
                }
            });
}

QString SingleInstance::ServerName(const QString& appDirectory)
{
    const QString canonical = QFileInfo(appDirectory).canonicalFilePath();
    const QByteArray folder =
        QFile::encodeName(canonical.isEmpty() ? QDir::cleanPath(appDirectory) : canonical);
    const QString hash =
        QString::fromLatin1(QCryptographicHash::hash(folder, QCryptographicHash::Sha256).toHex().left(16));
    const QString name = QStringLiteral("vantu-%1-%2").arg(::getuid()).arg(hash);
    // The user's runtime folder is private to the user and emptied at logout; without it the socket goes
    // to the temporary folder.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return QDir::isAbsolutePath(runtime) && QFileInfo(runtime).isDir() ? runtime + QChar('/') + name : name;
}

SingleInstance::Outcome SingleInstance::Start(QString* error)
{
    return Start(error, Request{});
}

SingleInstance::Outcome SingleInstance::Start(QString* error, Request request)
{
    QByteArrayList words;
    if (request.Front)
        words << Front;
    if (request.Monitor)
        words << Monitor;
    const QByteArray line = words.join(' ') + '\n';
    Outcome outcome = Outcome::First;
    if (AskRunning(line, &outcome))
        return outcome;
    if (server_.listen(name_))
        return Outcome::First;
    if (server_.serverError() == QAbstractSocket::AddressInUseError)
    {
        // Either a program of this directory started a moment ago, or one that ended without closing
        // its socket left it behind.
        if (AskRunning(line, &outcome))
            return outcome;
        QLocalServer::removeServer(name_);
        if (server_.listen(name_))
            return Outcome::First;
    }
    *error = server_.errorString();
    return Outcome::Failed;
}

void SingleInstance::Stop()
{
    server_.close();
}

bool SingleInstance::AskRunning(const QByteArray& request, Outcome* outcome) const
{
    QLocalSocket socket;
    socket.connectToServer(name_);
    // A local socket connects at once or not at all.
    if (!socket.waitForConnected(AnswerTimeoutMs))
        return false;
    socket.write(request);
    bool answered = socket.waitForBytesWritten(AnswerTimeoutMs);
    while (answered && socket.bytesAvailable() < Reply.size())
        answered = socket.waitForReadyRead(AnswerTimeoutMs);
    *outcome = answered && socket.readAll() == Reply ? Outcome::BroughtToFront : Outcome::NotAnswering;
    return true;
}

void SingleInstance::Answer(QLocalSocket* socket)
{
    if (!socket->canReadLine() && socket->bytesAvailable() < MaxRequestLength)
        return;
    const QByteArrayList words = socket->readLine(MaxRequestLength).trimmed().split(' ');
    if (words.contains(Front) || words.contains(Monitor))
    {
        // The reply goes first: the later start ends at once, while the window may take a moment.
        socket->write(Reply);
        socket->flush();
        if (words.contains(Front))
            emit ActivationRequested();
        if (words.contains(Monitor))
            emit MonitorRequested();
    }
    socket->disconnectFromServer();
}

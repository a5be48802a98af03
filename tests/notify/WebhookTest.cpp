#include "notify/WebhookPush.h"
#include "support/Fakes.h"

#include <QImage>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{
// A web server on the loopback interface that keeps each request and answers it with status.
class LoopbackHook
{
public:
    explicit LoopbackHook(int status) : status_(status)
    {
        server_.listen(QHostAddress::LocalHost);
        QObject::connect(&server_, &QTcpServer::newConnection, &server_,
                         [this]
                         {
                             QTcpSocket* socket = server_.nextPendingConnection();
                             QObject::connect(socket, &QTcpSocket::readyRead, socket,
                                              [this, socket] { Read(socket); });
                         });
    }

    QString Url() const { return QStringLiteral("http://127.0.0.1:%1/topic").arg(server_.serverPort()); }
    QByteArray request;

private:
    void Read(QTcpSocket* socket)
    {
        request += socket->readAll();
        const qsizetype end = request.indexOf("\r\n\r\n");
        const QByteArray marker = "Content-Length: ";
        const qsizetype length = request.indexOf(marker);
        if (end < 0 || length < 0)
            return;
        const qsizetype size =
            request.mid(length + marker.size(), request.indexOf('\r', length) - length - marker.size())
                .toLongLong();
        if (request.size() < end + 4 + size)
            return;
        socket->write(QStringLiteral("HTTP/1.1 %1 Answer\r\nContent-Length: 0\r\nConnection: close\r\n\r\n")
                          .arg(status_)
                          .toLatin1());
        socket->disconnectFromHost();
    }

    QTcpServer server_;
    int status_;
};

struct WebhookRig
{
    WebhookRig() { QImage(32, 24, QImage::Format_RGB888).save(picture); }

    WebhookOutcome Post(const QString& url, const QString& token)
    {
        QSignalSpy finished(&push, &WebhookPush::Finished);
        push.EventStarted({1, clock.now, clock.now, 1, picture}, url, token);
        return finished.wait(20000) ? finished[0][0].value<WebhookOutcome>() : WebhookOutcome{};
    }

    QTemporaryDir dir;
    QString picture = dir.filePath(QStringLiteral("Detection_1-0.Bmp"));
    FixedClock clock;
    QStringList log;
    WebhookPush push{clock, [this](const QString& text) { log << text; }};
};
} // namespace

TEST(WebhookTest, TheEventsFirstPictureIsPostedWithItsHeaders)
{
    LoopbackHook hook(200);
    WebhookRig rig;
    EXPECT_TRUE(rig.Post(hook.Url(), QStringLiteral("tk_secret")).Delivered);
    const qsizetype end = hook.request.indexOf("\r\n\r\n");
    const QByteArray head = hook.request.left(end);
    EXPECT_TRUE(head.startsWith("POST /topic HTTP/1.1\r\n"));
    for (const char* header :
         {"\r\nContent-Type: image/bmp", "\r\nFilename: Detection_1-0.Bmp",
          "\r\nTitle: Vantu: movement detected", "\r\nX-Vantu-Event-Start: 1999-12-07T15:04:05",
          "\r\nX-Vantu-Detections: 1", "\r\nAuthorization: Bearer tk_secret"})
        EXPECT_TRUE(head.contains(header)) << header;
    QFile picture(rig.picture);
    ASSERT_TRUE(picture.open(QIODevice::ReadOnly));
    EXPECT_EQ(hook.request.mid(end + 4), picture.readAll());
    EXPECT_TRUE(rig.log.isEmpty());
}

TEST(WebhookTest, AFailureIsLoggedOnceAndTheTokenNever)
{
    LoopbackHook refusing(403);
    WebhookRig rig;
    EXPECT_FALSE(rig.Post(refusing.Url(), QStringLiteral("tk_secret")).Delivered);
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost);
    const QString nobody = QStringLiteral("http://tk_secret@127.0.0.1:%1/tk_secret").arg(closed.serverPort());
    closed.close();
    EXPECT_FALSE(rig.Post(nobody, QStringLiteral("tk_secret")).Delivered);
    ASSERT_EQ(rig.log.size(), 2);
    for (const QString& line : rig.log)
    {
        EXPECT_TRUE(line.startsWith(QStringLiteral("Webhook Error: "))) << line.toStdString();
        EXPECT_FALSE(line.contains(QStringLiteral("tk_secret"))) << line.toStdString();
    }
}

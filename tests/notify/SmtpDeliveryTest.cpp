#include "notify/DispatchRig.h"
#include "notify/SmtpMailComponent.h"
#include "support/SmtpTestServer.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace
{
// The e-mail path of monitoring with the real mail component.
struct SmtpRig : DispatchRig<SmtpMailComponent>
{
    explicit SmtpRig(const QString& server, std::chrono::milliseconds giveUp = 10s) : DispatchRig(giveUp)
    {
        settings.POPServer = server;
    }

    // Waits (boundedly) for the component's three Done events of one message.
    bool AllDone()
    {
        while (done.size() < 3 && done.wait(20000))
        {
        }
        return done.size() == 3 && dispatch.MailState == 0 && pointer.shape == PointerShape::Default &&
               started == ended;
    }

    QString ErrorLine() const
    {
        const QStringList errors = log.filter(QStringLiteral("Email Error: "));
        return errors.size() == 1 ? errors[0] : QString();
    }

    QSignalSpy done{&mail, &MailComponent::Done};
};

QByteArray Picture()
{
    QByteArray bytes("BM");
    for (int i = 0; i < 4000; ++i)
        bytes.append(static_cast<char>(i * 7 + i / 256));
    return bytes;
}

QByteArray Base64Lines(const QByteArray& bytes)
{
    const QByteArray encoded = bytes.toBase64();
    QByteArray lines;
    for (qsizetype i = 0; i < encoded.size(); i += 76)
        lines += encoded.mid(i, 76) + "\r\n";
    return lines;
}

QByteArray Header(const QByteArray& message, const QByteArray& name)
{
    const QRegularExpression line(QStringLiteral("^%1: (.*)\\r$").arg(QString::fromLatin1(name)),
                                  QRegularExpression::MultilineOption);
    return line.match(QString::fromLatin1(message)).captured(1).toLatin1();
}
} // namespace

TEST(SmtpDelivery, TheServerReceivesTheMessageByteForByte)
{
    SmtpTestServer server;
    ASSERT_TRUE(server.Started());
    SmtpRig rig(server.Address());
    const QByteArray picture = Picture();

    rig.dispatch.NotifyEmail(rig.Image(QStringLiteral("Detection_3-1.Bmp"), picture));

    ASSERT_TRUE(rig.AllDone());
    EXPECT_EQ(rig.ErrorLine(), QString());
    ASSERT_EQ(server.MessageCount(), 1);
    EXPECT_EQ(server.Login(1), QString()) << "the server offered no AUTH";
    const QByteArray message = server.Message(1);
    const QByteArray boundary =
        Header(message, "Content-Type").mid(QByteArray("multipart/mixed; boundary=").size());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{1,11}_boundary$"))
                    .match(QString::fromLatin1(boundary))
                    .hasMatch());
    EXPECT_TRUE(QRegularExpression(
                    QStringLiteral("^(\\w{3}, )?\\d{1,2} \\w{3} \\d{4} \\d\\d:\\d\\d:\\d\\d [+-]\\d{4}$"))
                    .match(QString::fromLatin1(Header(message, "Date")))
                    .hasMatch())
        << Header(message, "Date").constData();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^<[^<>@ ]+@example\\.org>$"))
                    .match(QString::fromLatin1(Header(message, "Message-ID")))
                    .hasMatch());

    const QByteArray expected = "From: watcher@example.org\r\n"
                                "To: watcher@example.org\r\n"
                                "Subject: Vantu Detection: " +
                                NowText(rig.clock).toLatin1() +
                                "\r\n"
                                "Date: " +
                                Header(message, "Date") +
                                "\r\n"
                                "Message-ID: " +
                                Header(message, "Message-ID") +
                                "\r\n"
                                "MIME-Version: 1.0\r\n"
                                "Content-Type: multipart/mixed; boundary=" +
                                boundary +
                                "\r\n"
                                "\r\n"
                                "--" +
                                boundary +
                                "\r\n"
                                "Content-Type: image/bmp\r\n"
                                "Content-Transfer-Encoding: base64\r\n"
                                "Content-Disposition: inline; filename=\"Detection.Bmp\"\r\n"
                                "\r\n" +
                                Base64Lines(picture) + "--" + boundary + "--\r\n";
    EXPECT_EQ(message, expected);
    const qsizetype body = message.indexOf("\r\n\r\n", message.indexOf("--" + boundary)) + 4;
    const qsizetype end = message.lastIndexOf("--" + boundary + "--");
    EXPECT_EQ(QByteArray::fromBase64(message.mid(body, end - body)), picture);
}

TEST(SmtpDelivery, AnEventMessageCarriesItsTextThenThePictureWithTheTypeAndNameOfItsFormat)
{
    SmtpTestServer server;
    ASSERT_TRUE(server.Started());
    SmtpRig rig(server.Address());
    const QByteArray picture = QByteArrayLiteral("\xFF\xD8\xFF\xE0 a JPEG picture");
    const QString text = QStringLiteral("Vantu saw movement at 3:04 PM.\r\nMore detections may follow.\r\n");

    rig.dispatch.NotifyEvent(rig.Image(QStringLiteral("Detection_3-0.jpg"), picture), text);

    ASSERT_TRUE(rig.AllDone());
    ASSERT_EQ(server.MessageCount(), 1);
    const QByteArray message = server.Message(1);
    const QByteArray boundary =
        "--" + Header(message, "Content-Type").mid(QByteArray("multipart/mixed; boundary=").size());
    // The parts between the boundaries, each with its headers.
    QList<QByteArray> parts;
    for (qsizetype at = message.indexOf(boundary + "\r\n"); at >= 0;)
    {
        const qsizetype start = at + boundary.size() + 2;
        const qsizetype next = message.indexOf(boundary, start);
        if (next < 0)
            break;
        parts << message.mid(start, next - start);
        at = message.indexOf(boundary + "\r\n", next) == next ? next : -1;
    }
    ASSERT_EQ(parts.size(), 2);
    const auto body = [](const QByteArray& part)
    { return QByteArray::fromBase64(part.mid(part.indexOf("\r\n\r\n") + 4)); };
    EXPECT_TRUE(parts[0].startsWith("Content-Type: text/plain; charset=UTF-8\r\n"));
    EXPECT_EQ(body(parts[0]), text.toUtf8());
    EXPECT_TRUE(parts[1].startsWith("Content-Type: image/jpeg\r\nContent-Transfer-Encoding: base64\r\n"
                                    "Content-Disposition: inline; filename=\"Detection.jpg\"\r\n"));
    EXPECT_EQ(body(parts[1]), picture);
}

TEST(SmtpDelivery, LogsInWhenTheServerOffersAuthAndReportsARefusedLogin)
{
    SmtpTestServer server({QStringLiteral("--auth"), QStringLiteral("watcher:s3cret-Pa55")});
    ASSERT_TRUE(server.Started());

    SmtpRig accepted(server.Address());
    accepted.dispatch.NotifyEmail(accepted.Image(QStringLiteral("a.Bmp")));
    ASSERT_TRUE(accepted.AllDone());
    EXPECT_EQ(accepted.ErrorLine(), QString());
    ASSERT_EQ(server.MessageCount(), 1);
    EXPECT_EQ(server.Login(1), QStringLiteral("watcher"));

    SmtpRig refused(server.Address());
    refused.settings.POPPassword = QStringLiteral("wrong-Pa55word");
    refused.dispatch.NotifyEmail(refused.Image(QStringLiteral("a.Bmp")));
    ASSERT_TRUE(refused.AllDone());
    EXPECT_TRUE(refused.ErrorLine().startsWith(
        QStringLiteral("Email Error: The mail server refused the login (its reply: 535")))
        << refused.ErrorLine().toStdString();
    EXPECT_FALSE(refused.log.join(QChar('\n')).contains(QStringLiteral("wrong-Pa55word")));
    EXPECT_EQ(server.MessageCount(), 1);
}

TEST(SmtpDelivery, AServerOfferingStartTlsGetsNothingWhenItsCertificateCannotBeVerified)
{
    SmtpTestServer server({QStringLiteral("--starttls")});
    ASSERT_TRUE(server.Started());
    SmtpRig rig(server.Address());

    rig.dispatch.NotifyEmail(rig.Image(QStringLiteral("a.Bmp")));

    ASSERT_TRUE(rig.AllDone());
    EXPECT_TRUE(
        rig.ErrorLine().startsWith(QStringLiteral("Email Error: No secure connection to the mail server ")))
        << rig.ErrorLine().toStdString();
    EXPECT_EQ(server.MessageCount(), 0);
}

TEST(SmtpDelivery, FailuresAreLoggedInPlainWordsAndStillFinishWithThreeDoneEvents)
{
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const QString closedAddress = QStringLiteral("127.0.0.1:%1").arg(closed.serverPort());
    closed.close();
    SmtpRig unreachable(closedAddress);
    unreachable.dispatch.NotifyEmail(unreachable.Image(QStringLiteral("a.Bmp")));
    ASSERT_TRUE(unreachable.AllDone());
    EXPECT_EQ(unreachable.ErrorLine(), QStringLiteral("Email Error: Could not connect to the mail server ") +
                                           closedAddress + QStringLiteral(": ") + NowText(unreachable.clock));

    SmtpTestServer rejecting({QStringLiteral("--reject-recipient")});
    ASSERT_TRUE(rejecting.Started());
    SmtpRig rejected(rejecting.Address());
    rejected.dispatch.NotifyEmail(rejected.Image(QStringLiteral("a.Bmp")));
    ASSERT_TRUE(rejected.AllDone());
    EXPECT_TRUE(rejected.ErrorLine().startsWith(
        QStringLiteral("Email Error: The mail server refused the recipient address (its reply: 550 5.1.1")))
        << rejected.ErrorLine().toStdString();
    EXPECT_EQ(rejecting.MessageCount(), 0);

    SmtpRig badServer(QStringLiteral("smtp://mail.example.org/path"));
    badServer.dispatch.NotifyEmail(badServer.Image(QStringLiteral("a.Bmp")));
    ASSERT_TRUE(badServer.AllDone());
    EXPECT_TRUE(badServer.ErrorLine().contains(QStringLiteral("is not a server address")))
        << badServer.ErrorLine().toStdString();
}

TEST(SmtpDelivery, ASilentServerIsGivenUpAfterTheGiveUpTime)
{
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    const QString address = QStringLiteral("127.0.0.1:%1").arg(silent.serverPort());
    SmtpRig rig(address, 1s);
    QElapsedTimer timer;
    timer.start();

    rig.dispatch.NotifyEmail(rig.Image(QStringLiteral("a.Bmp")));

    ASSERT_TRUE(rig.AllDone());
    EXPECT_LT(timer.elapsed(), 8000);
    EXPECT_EQ(rig.ErrorLine(), QStringLiteral("Email Error: The mail server ") + address +
                                   QStringLiteral(" did not answer within 1 second: ") + NowText(rig.clock));
}

TEST(SmtpDelivery, AServerThatAnswersGarbageIsSaidNotToSpeakSmtp)
{
    QTcpServer garbage;
    ASSERT_TRUE(garbage.listen(QHostAddress::LocalHost));
    QObject::connect(&garbage, &QTcpServer::newConnection, &garbage,
                     [&garbage]
                     { garbage.nextPendingConnection()->write("HTTP/1.1 400 Bad\r\n\r\n\x01\xff\r\n"); });
    const QString address = QStringLiteral("127.0.0.1:%1").arg(garbage.serverPort());
    SmtpRig rig(address);

    rig.dispatch.NotifyEmail(rig.Image(QStringLiteral("a.Bmp")));

    ASSERT_TRUE(rig.AllDone());
    EXPECT_EQ(rig.ErrorLine(), QStringLiteral("Email Error: The mail server ") + address +
                                   QStringLiteral(" sent a reply that is not SMTP: ") + NowText(rig.clock));
}

TEST(SmtpDelivery, ASecondImageWhileOneIsInFlightIsRefusedAndAParkedOneGoesOnTheFirstTick)
{
    SmtpTestServer server;
    ASSERT_TRUE(server.Started());
    SmtpRig rig(server.Address());
    const QByteArray first("BM first picture");

    rig.dispatch.NotifyEmail(rig.Image(QStringLiteral("first.Bmp"), first));
    rig.dispatch.NotifyEmail(rig.Image(QStringLiteral("second.Bmp"), "BM second picture"));
    ASSERT_TRUE(rig.AllDone());
    ASSERT_EQ(server.MessageCount(), 1);
    EXPECT_TRUE(server.Message(1).contains(Base64Lines(first)));

    rig.done.clear();
    rig.connection.connected = false;
    const QByteArray parked("BM parked picture");
    rig.dispatch.NotifyEmail(rig.Image(QStringLiteral("parked.Bmp"), parked));
    rig.connection.connected = true;
    rig.dispatch.InternetTimer_Timer();
    ASSERT_TRUE(rig.AllDone());
    ASSERT_EQ(server.MessageCount(), 2);
    EXPECT_TRUE(server.Message(2).contains(Base64Lines(parked)));
}

TEST(SmtpDelivery, TheComponentCanBeDestroyedWhileASendWaitsForTheServer)
{
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    QElapsedTimer timer;
    {
        SmtpRig rig(QStringLiteral("127.0.0.1:%1").arg(silent.serverPort()), 60s);
        rig.dispatch.NotifyEmail(rig.Image(QStringLiteral("a.Bmp")));
        rig.done.wait(5000);
        timer.start();
    }
    EXPECT_LT(timer.elapsed(), 2000);
}

#include "notify/MimeMessage.h"
#include "notify/SmtpServerAddress.h"

#include <gtest/gtest.h>

TEST(MailText, ASubjectThatIsNotPlainAsciiBecomesEncodedWordsOfWholeCharacters)
{
    EXPECT_EQ(EncodeSubject(QStringLiteral("Vantu Detection: 12/7/99 3:04:05 PM")),
              QByteArray("Vantu Detection: 12/7/99 3:04:05 PM"));

    for (const QString& subject :
         {QStringLiteral("Vantu Detection: 7 d\u00E9c. 1999 15:04:05"),
          QStringLiteral(
              "Vantu Detection: 1999/12/7 \u4E0B\u53483:04:05 \u2014 \u043F\u043E\u043D\u0435\u0434\u0435"
              "\u043B\u044C\u043D\u0438\u043A \u0434\u0435\u043A\u0430\u0431\u0440\u044F \U0001F4F7")})
    {
        const QByteArray encoded = EncodeSubject(subject);
        QByteArray decoded;
        for (const QByteArray& word : encoded.split('\n'))
        {
            const QByteArray trimmed = word.trimmed();
            ASSERT_LE(trimmed.size(), 75);
            ASSERT_TRUE(trimmed.startsWith("=?UTF-8?B?") && trimmed.endsWith("?=")) << encoded.constData();
            const QByteArray text = QByteArray::fromBase64(trimmed.mid(10, trimmed.size() - 12));
            EXPECT_EQ(QString::fromUtf8(text).toUtf8(), text) << "a word holds whole characters";
            decoded += text;
        }
        EXPECT_EQ(QString::fromUtf8(decoded), subject);
        for (const char c : encoded)
            EXPECT_LT(static_cast<unsigned char>(c), 0x80);
    }
}

TEST(MailText, HeaderValuesCannotStartHeadersOfTheirOwn)
{
    MimeMessage message;
    message.From = QStringLiteral("a@example.org\r\nBcc: b@example.org");
    message.To = message.From;
    message.Subject = QStringLiteral("Vantu Detection\r\nBcc: c@example.org");
    message.Boundary = QStringLiteral("1_boundary");
    const QByteArray text = ComposeMessage(message, QByteArray(100, 'x'));
    EXPECT_FALSE(text.contains("\nBcc")) << text.constData();
    EXPECT_TRUE(text.endsWith("\r\n--1_boundary--\r\n"));
}

TEST(MailText, TheServerSettingTakesFourForms)
{
    const struct
    {
        QString text;
        QString url;
        bool loopback;
    } cases[] = {
        {QStringLiteral("mail.example.org"), QStringLiteral("smtp://mail.example.org:25"), false},
        {QStringLiteral(" mail.example.org:587 "), QStringLiteral("smtp://mail.example.org:587"), false},
        {QStringLiteral("smtp://mail.example.org"), QStringLiteral("smtp://mail.example.org:25"), false},
        {QStringLiteral("SMTP://mail.example.org:2525/"), QStringLiteral("smtp://mail.example.org:2525"),
         false},
        {QStringLiteral("smtps://mail.example.org"), QStringLiteral("smtps://mail.example.org:465"), false},
        {QStringLiteral("smtps://mail.example.org:8465"), QStringLiteral("smtps://mail.example.org:8465"),
         false},
        {QStringLiteral("localhost:2525"), QStringLiteral("smtp://localhost:2525"), true},
        {QStringLiteral("127.0.0.1"), QStringLiteral("smtp://127.0.0.1:25"), true},
        {QStringLiteral("smtp://[::1]:2525"), QStringLiteral("smtp://[::1]:2525"), true},
    };
    for (const auto& c : cases)
    {
        const std::optional<SmtpServerAddress> address = ParseSmtpServer(c.text);
        ASSERT_TRUE(address) << c.text.toStdString();
        EXPECT_EQ(address->Url(), c.url);
        EXPECT_EQ(address->IsLoopback(), c.loopback) << c.text.toStdString();
    }

    for (const QString& text :
         {QString(), QStringLiteral("http://mail.example.org"), QStringLiteral("mail.example.org:0"),
          QStringLiteral("mail.example.org:99999"), QStringLiteral("user:pw@mail.example.org"),
          QStringLiteral("smtp://mail.example.org/x"), QStringLiteral("mail example org")})
        EXPECT_FALSE(ParseSmtpServer(text)) << text.toStdString();
}

#include "notify/MimeMessage.h"

#include <algorithm>

namespace
{
constexpr char Base64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr qsizetype BytesPerLine = 57; // 76 characters of base64
const QByteArray CrLf = QByteArrayLiteral("\r\n");

// A header value on one line: control characters (line breaks above all) would end the header or
// start a new one.
QByteArray HeaderText(const QString& value)
{
    QByteArray text = value.toUtf8();
    std::replace_if(
        text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; },
        ' ');
    return text;
}

bool IsPrintableAscii(const QString& text)
{
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() >= 0x20 && c.unicode() < 0x7F; });
}

char* EncodeBase64(const unsigned char* in, qsizetype length, char* out)
{
    qsizetype i = 0;
    for (; i + 3 <= length; i += 3)
    {
        const unsigned value = (in[i] << 16) | (in[i + 1] << 8) | in[i + 2];
        *out++ = Base64Alphabet[(value >> 18) & 63];
        *out++ = Base64Alphabet[(value >> 12) & 63];
        *out++ = Base64Alphabet[(value >> 6) & 63];
        *out++ = Base64Alphabet[value & 63];
    }
    if (i < length)
    {
        const bool two = i + 1 < length;
        const unsigned value = (in[i] << 16) | (two ? in[i + 1] << 8 : 0);
        *out++ = Base64Alphabet[(value >> 18) & 63];
        *out++ = Base64Alphabet[(value >> 12) & 63];
        *out++ = two ? Base64Alphabet[(value >> 6) & 63] : '=';
        *out++ = '=';
    }
    return out;
}

qsizetype Base64Length(qsizetype length)
{
    return (length + 2) / 3 * 4;
}
} // namespace

QByteArray EncodeSubject(const QString& subject)
{
    if (IsPrintableAscii(subject))
        return subject.toLatin1();

    // 45 bytes of UTF-8 make 60 characters of base64, so each word stays within 75 characters. A word
    // never splits a character.
    const QByteArray utf8 = HeaderText(subject);
    QByteArray result;
    qsizetype start = 0;
    while (start < utf8.size())
    {
        qsizetype end = std::min(start + 45, utf8.size());
        while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80)
            --end;
        if (!result.isEmpty())
            result += QByteArrayLiteral("\r\n ");
        result += QByteArrayLiteral("=?UTF-8?B?") + utf8.mid(start, end - start).toBase64() +
                  QByteArrayLiteral("?=");
        start = end;
    }
    return result;
}

QByteArray ComposeMessage(const MimeMessage& message, const QByteArray& attachment)
{
    const QByteArray boundary = HeaderText(message.Boundary);
    QByteArray head;
    head += "From: " + HeaderText(message.From) + CrLf;
    head += "To: " + HeaderText(message.To) + CrLf;
    head += "Subject: " + EncodeSubject(message.Subject) + CrLf;
    head += "Date: " + message.Date.toString(Qt::RFC2822Date).toLatin1() + CrLf;
    head += "Message-ID: <" + HeaderText(message.MessageId) + ">" + CrLf;
    head += "MIME-Version: 1.0" + CrLf;
    head += "Content-Type: " + HeaderText(message.ContentType) + "; " +
            HeaderText(message.ContentTypeParameters) + CrLf + CrLf;
    if (!message.BodyText.isEmpty())
    {
        head += "--" + boundary + CrLf;
        head += "Content-Type: text/plain; charset=UTF-8" + CrLf;
        head += "Content-Transfer-Encoding: base64" + CrLf + CrLf;
        const QByteArray text = message.BodyText.toUtf8().toBase64();
        for (qsizetype offset = 0; offset < text.size(); offset += 76)
            head += text.mid(offset, 76) + CrLf;
    }
    head += "--" + boundary + CrLf;
    head += "Content-Type: " + HeaderText(message.PartContentType) + CrLf;
    head += "Content-Transfer-Encoding: base64" + CrLf;
    head += "Content-Disposition: " + HeaderText(message.PartDisposition) + CrLf + CrLf;
    const QByteArray tail = "--" + boundary + "--" + CrLf;

    const qsizetype lines = (attachment.size() + BytesPerLine - 1) / BytesPerLine;
    QByteArray result(head.size() + Base64Length(attachment.size()) + lines * 2 + tail.size(),
                      Qt::Uninitialized);
    char* out = std::copy(head.cbegin(), head.cend(), result.data());
    const auto* in = reinterpret_cast<const unsigned char*>(attachment.constData());
    for (qsizetype offset = 0; offset < attachment.size(); offset += BytesPerLine)
    {
        out = EncodeBase64(in + offset, std::min(BytesPerLine, attachment.size() - offset), out);
        *out++ = '\r';
        *out++ = '\n';
    }
    std::copy(tail.cbegin(), tail.cend(), out);
    return result;
}

#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// One message as the mail component sends it: a multipart body holding one base64 attachment.
struct MimeMessage
{
    QString From;
    QString To;
    QString Subject;
    QDateTime Date;
    // Without the angle brackets, for example "1234.5678@host".
    QString MessageId;
    // The message's media type ("multipart/mixed"), its parameters ("boundary=...") and the boundary.
    QString ContentType;
    QString ContentTypeParameters;
    QString Boundary;
    // The attachment's media type ("image/bmp") and Content-Disposition.
    QString PartContentType;
    QString PartDisposition;
    // Text that goes before the attachment as a part of its own; none when empty.
    QString BodyText;
};

// The whole message text with CR LF line ends: headers, the text part when there is text, the
// attachment's part delimited by the boundary, the attachment in base64 lines of 76 characters. Header values
// lose any line breaks they hold; a subject that is not plain ASCII is encoded as RFC 2047 describes.
QByteArray ComposeMessage(const MimeMessage& message, const QByteArray& attachment);

// The Subject header's value: the text itself when it is printable ASCII, otherwise UTF-8 encoded
// words ("=?UTF-8?B?...?=") of at most 75 characters, folded onto continuation lines.
QByteArray EncodeSubject(const QString& subject);

#include "notify/SmtpMailComponent.h"
#include "notify/MailOperations.h"
#include "notify/SmtpSession.h"

#include <QCoreApplication>
#include <QFile>
#include <QUuid>

namespace
{
// Larger files are not detection pictures; they are not read into memory.
constexpr qint64 MaxAttachmentSize = 256 * 1024 * 1024;

const QString CancelledAtExit = QStringLiteral("cancelled at exit");

struct Delivery
{
    SmtpJob Job;
    MimeMessage Message;
    QString AttachmentFile;
    QString TransferEncoding;
};

SmtpOutcome Deliver(Delivery delivery, const std::atomic<bool>& stopping)
{
    if (delivery.TransferEncoding.compare(QStringLiteral("base64"), Qt::CaseInsensitive) != 0)
        return {
            false,
            QStringLiteral("The transfer encoding \"%1\" is not supported").arg(delivery.TransferEncoding)};
    QFile file(delivery.AttachmentFile);
    if (!file.open(QIODevice::ReadOnly))
        return {false, QStringLiteral("The image file %1 could not be read").arg(delivery.AttachmentFile)};
    if (file.size() > MaxAttachmentSize)
        return {false, QStringLiteral("The image file %1 is too large to mail").arg(delivery.AttachmentFile)};
    const QByteArray attachment = file.readAll();
    file.close();
    delivery.Job.Message = ComposeMessage(delivery.Message, attachment);
    return SendSmtp(delivery.Job, stopping);
}

QString MessageIdFor(const QString& address)
{
    const qsizetype at = address.lastIndexOf(QChar('@'));
    const QString domain =
        at >= 0 && at + 1 < address.size() ? address.mid(at + 1) : QStringLiteral("localhost");
    return QUuid::createUuid().toString(QUuid::WithoutBraces) + QChar('@') + domain;
}
} // namespace

SmtpMailComponent::SmtpMailComponent(std::chrono::milliseconds giveUpAfter, QObject* parent)
    : MailComponent(parent), giveUpAfter_(giveUpAfter), sender_(QStringLiteral("MailSender"))
{
}

SmtpMailComponent::~SmtpMailComponent()
{
    Shutdown();
}

void SmtpMailComponent::Shutdown()
{
    // The worker ends after the messages queued before this, each of which now returns at once.
    if (!sender_.Stop())
        return;
    // Their answers wait in this thread's queue: they are handed out now, not after the event loop ended.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

void SmtpMailComponent::PutString(int property, const QString& value)
{
    switch (property)
    {
    case MailProperty::Server:
        server_ = value;
        break;
    case MailProperty::UserName:
        userName_ = value;
        break;
    case MailProperty::Password:
        password_ = value;
        break;
    case MailProperty::Sender:
        message_.From = value;
        break;
    case MailProperty::Recipient:
        message_.To = value;
        break;
    case MailProperty::Subject:
        message_.Subject = value;
        break;
    case MailProperty::MediaType:
        mediaType_ = value;
        break;
    case MailProperty::MediaSubtype:
        mediaSubtype_ = value;
        break;
    case MailProperty::ContentTypeParameters:
        message_.ContentTypeParameters = value;
        break;
    case MailProperty::Boundary:
        message_.Boundary = value;
        break;
    case MailProperty::TransferEncoding:
        transferEncoding_ = value;
        break;
    case MailProperty::Disposition:
        disposition_ = value;
        break;
    case MailProperty::AttachmentFile:
        attachmentFile_ = value;
        break;
    case MailProperty::BodyText:
        message_.BodyText = value;
        break;
    default:
        break;
    }
}

void SmtpMailComponent::PutLong(int property, std::int32_t value)
{
    if (property == MailProperty::Command)
        RunCommand(value);
}

void SmtpMailComponent::Invoke(int method)
{
    if (method == MailMethod::NewMessage)
    {
        message_ = {};
        mediaType_.clear();
        mediaSubtype_.clear();
        transferEncoding_.clear();
        disposition_.clear();
        attachmentFile_.clear();
        partEncoding_.clear();
        partFile_.clear();
    }
    else if (method == MailMethod::Send)
        Send();
}

void SmtpMailComponent::RunCommand(std::int32_t command)
{
    switch (command)
    {
    case MailCommand::BeginBody:
        message_.ContentType = mediaType_ + QChar('/') + mediaSubtype_;
        break;
    case MailCommand::BeginPart:
        transferEncoding_.clear();
        disposition_.clear();
        attachmentFile_.clear();
        break;
    case MailCommand::EndPart:
        message_.PartContentType = mediaType_ + QChar('/') + mediaSubtype_;
        message_.PartDisposition = disposition_;
        partEncoding_ = transferEncoding_;
        partFile_ = attachmentFile_;
        break;
    case MailCommand::AwaitDelivery:
        if (sending_ > 0)
            ++awaiting_;
        else
            RaiseDoneLater();
        break;
    case MailCommand::Release:
        RaiseDoneLater();
        break;
    default:
        break;
    }
}

void SmtpMailComponent::Send()
{
    MimeMessage message = message_;
    message.Date = QDateTime::currentDateTime();
    message.MessageId = MessageIdFor(message.From);
    Delivery delivery{{server_, message.From, message.To, userName_, password_, {}, giveUpAfter_},
                      std::move(message),
                      partFile_,
                      partEncoding_};

    ++sending_;
    if (sender_.Stopping())
    {
        QMetaObject::invokeMethod(
            this,
            [this] {
                Answered({false, CancelledAtExit});
            },
            Qt::QueuedConnection);
        RaiseDoneLater();
        return;
    }
    sender_.Post(
        [this, delivery = std::move(delivery)]
        {
            const std::atomic<bool>& stopping = sender_.Stopping();
            SmtpOutcome outcome = stopping ? SmtpOutcome{} : Deliver(delivery, stopping);
            if (!outcome.Delivered && stopping)
                outcome.Reason = CancelledAtExit;
            QMetaObject::invokeMethod(
                this, [this, outcome] { Answered(outcome); }, Qt::QueuedConnection);
        });
    RaiseDoneLater();
}

void SmtpMailComponent::Answered(const SmtpOutcome& outcome)
{
    --sending_;
    if (!outcome.Delivered)
        emit Failed(outcome.Reason);
    if (awaiting_ > 0)
    {
        --awaiting_;
        emit Done();
    }
}

void SmtpMailComponent::RaiseDoneLater()
{
    QMetaObject::invokeMethod(
        this, [this] { emit Done(); }, Qt::QueuedConnection);
}

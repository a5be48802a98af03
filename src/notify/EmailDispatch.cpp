#include "notify/EmailDispatch.h"
#include "common/SettingsRecord.h"
#include "notify/HidePassword.h"
#include "notify/MailComponent.h"
#include "notify/MailOperations.h"
#include "notify/NetworkConnection.h"
#include "ui/DateText.h"
#include "ui/MessageBox.h"
#include "ui/MousePointer.h"

#include <QFileInfo>
#include <QTimer>

namespace
{
struct AttachmentType
{
    QString Subtype;
    QString Name;
};

// The media subtype and the name a picture is attached with, from its file's extension.
AttachmentType AttachmentTypeOf(const QString& imageFile)
{
    const QString suffix = QFileInfo(imageFile).suffix().toLower();
    if (suffix == QStringLiteral("jpg"))
        return {QStringLiteral("jpeg"), QStringLiteral("Detection.jpg")};
    if (suffix == QStringLiteral("png"))
        return {QStringLiteral("png"), QStringLiteral("Detection.png")};
    return {QStringLiteral("bmp"), QStringLiteral("Detection.Bmp")};
}
} // namespace

EmailDispatch::EmailDispatch(Ports ports, QObject* parent) : QObject(parent), ports_(std::move(ports))
{
    connect(&ports_.Mail, &MailComponent::Done, this, &EmailDispatch::Mail1_Done);
    connect(&ports_.Mail, &MailComponent::Failed, this, &EmailDispatch::Mail1_Failed);
}

void EmailDispatch::NotifyEmail(const QString& ImageFile)
{
    if (!QFileInfo(ImageFile).isFile())
        return;

    if (!MailUsable())
        return;
    const SettingsRecord& s = ports_.Settings;
    if (IsTrue(IsConnected()))
    {
        EmailImage(ImageFile);
        return;
    }
    if (IsTrue(s.AutoConnect))
        AutoDialConnect();
    PendingEmailImage = ImageFile;
    ports_.InternetTimer.start();
}

bool EmailDispatch::MailUsable()
{
    const SettingsRecord& s = ports_.Settings;
    const bool usable = !s.POPServer.isEmpty() && !s.POPUser.isEmpty() && !s.POPPassword.isEmpty() &&
                        !s.EmailAddress.isEmpty();
    if (!usable)
        ports_.Messages.Show(InsufficientEmailConfigurationText, MsgBoxStyle::OkOnly);
    return usable;
}

void EmailDispatch::NotifyEvent(const QString& ImageFile, const QString& text)
{
    if (!QFileInfo(ImageFile).isFile() || !MailUsable())
        return;
    waitingEvents_.push_back({ImageFile, text});
    SendWaitingEvent();
}

void EmailDispatch::SendWaitingEvent()
{
    if (waitingEvents_.empty() || MailState != 0)
        return;
    if (!IsTrue(IsConnected()))
    {
        if (!ports_.InternetTimer.isActive())
        {
            if (IsTrue(ports_.Settings.AutoConnect))
                AutoDialConnect();
            ports_.InternetTimer.start();
        }
        return;
    }
    const EventMail next = waitingEvents_.front();
    waitingEvents_.pop_front();
    EmailImage(next.ImageFile, next.Text);
}

Flag EmailDispatch::EmailImage(const QString& ImageFile, const QString& text)
{
    if (MailState != 0)
        return False;
    MailState = 1;

    const SettingsRecord& s = ports_.Settings;
    const QString boundary = boundaries_.NextBoundary();
    MailComponent& mail = ports_.Mail;
    mail.PutString(MailProperty::UserName, s.POPUser);
    mail.PutString(MailProperty::Password, s.POPPassword);
    mail.PutString(MailProperty::Server, s.POPServer);
    mail.Invoke(MailMethod::NewMessage);
    mail.PutString(MailProperty::Sender, s.EmailAddress);
    mail.PutString(MailProperty::Subject, QStringLiteral("Vantu Detection: ") + NowText(ports_.Clock));
    mail.PutString(MailProperty::Recipient, s.EmailAddress);
    mail.PutLong(MailProperty::StageFlags, MailStageFlags::Submitting);
    mail.PutString(MailProperty::MediaType, QStringLiteral("multipart"));
    mail.PutString(MailProperty::MediaSubtype, QStringLiteral("mixed"));
    mail.PutString(MailProperty::ContentTypeParameters, QStringLiteral("boundary=") + boundary);
    mail.PutString(MailProperty::Boundary, boundary);
    mail.PutLong(MailProperty::Command, MailCommand::BeginBody);
    if (!text.isEmpty())
        mail.PutString(MailProperty::BodyText, text);
    mail.PutLong(MailProperty::Command, MailCommand::BeginPart);
    mail.PutString(MailProperty::TransferEncoding, QStringLiteral("base64"));
    mail.PutString(MailProperty::MediaType, QStringLiteral("image"));
    const AttachmentType type = AttachmentTypeOf(ImageFile);
    mail.PutString(MailProperty::MediaSubtype, type.Subtype);
    mail.PutString(MailProperty::Disposition, QStringLiteral("inline; filename=\"%1\"").arg(type.Name));
    mail.PutString(MailProperty::AttachmentFile, ImageFile);
    mail.PutLong(MailProperty::Command, MailCommand::EndPart);
    mail.PutLong(MailProperty::Command, MailCommand::EndBody);
    mail.Invoke(MailMethod::Send);

    ports_.WriteLogEntry(QStringLiteral("Emailed Image - ") + ImageFile + QStringLiteral(": ") +
                         NowText(ports_.Clock));
    return True;
}

void EmailDispatch::Mail1_Done()
{
    switch (MailState)
    {
    case 1:
        ports_.Pointer.SetPointer(PointerShape::Custom);
        MailState = 2;
        ports_.Mail.PutLong(MailProperty::StageFlags, MailStageFlags::Finishing);
        ports_.Mail.PutLong(MailProperty::Command, MailCommand::AwaitDelivery);
        ports_.SendingStarted();
        break;
    case 2:
        MailState = 0;
        ports_.Mail.PutLong(MailProperty::Command, MailCommand::Release);
        break;
    case 0:
        ports_.Pointer.SetPointer(PointerShape::Default);
        ports_.SendingEnded();
        SendWaitingEvent();
        break;
    default:
        break;
    }
}

void EmailDispatch::Mail1_Failed(const QString& reason)
{
    ports_.WriteLogEntry(QStringLiteral("Email Error: ") + HidePassword(reason, ports_.Settings.POPPassword) +
                         QStringLiteral(": ") + NowText(ports_.Clock));
}

void EmailDispatch::InternetTimer_Timer()
{
    if (!IsTrue(IsConnected()))
        return;
    ports_.InternetTimer.stop();
    if (!PendingEmailImage.isEmpty() || waitingEvents_.empty())
        EmailImage(PendingEmailImage);
    PendingEmailImage.clear();
    SendWaitingEvent();
}

Flag EmailDispatch::IsConnected()
{
    return ToFlag(ports_.Connection.IsConnected());
}

Flag EmailDispatch::AutoDialConnect()
{
    return ToFlag(ports_.Connection.AutoDialConnect());
}

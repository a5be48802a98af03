#pragma once

#include "notify/MailComponent.h"
#include "notify/MimeMessage.h"
#include "notify/TransferThread.h"

#include <chrono>

struct SmtpOutcome;

// The mail component: it builds the message from the properties it receives, composes it as a MIME
// message and sends it over SMTP on a worker thread, reporting back on the UI thread.
//
// What the numbers of MailOperations.h mean here:
// - Server, UserName and Password are connection settings and survive NewMessage, which clears
//   everything else; Sender and Recipient give From and To, Subject the subject.
// - Command BeginBody takes the message's media type and parameters (MediaType, MediaSubtype,
//   ContentTypeParameters); BeginPart starts the one part; EndPart takes the part's media type,
//   TransferEncoding (base64 is the one encoding there is), Disposition and AttachmentFile; EndBody
//   closes the body. The boundary is Boundary. BodyText, when set, is a text part before the
//   attachment. StageFlags is recorded and means nothing.
// - Send hands the message to the worker, which reads the file, composes the message and delivers
//   it; a Done follows (the first). Command AwaitDelivery raises Done once the server has answered
//   (the second), after Failed when it was not delivered; Command Release raises the third Done.
// Every Done arrives through the event loop, never inside the call that caused it.
class SmtpMailComponent final : public MailComponent
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds DefaultGiveUpAfter{60000};

    explicit SmtpMailComponent(std::chrono::milliseconds giveUpAfter = DefaultGiveUpAfter,
                               QObject* parent = nullptr);
    // Shuts down as Shutdown does; a message it cancels is then reported to no one.
    ~SmtpMailComponent() override;

    // Cancels the message in flight (within a second), waits for the worker and reports each message
    // that did not go with Failed("cancelled at exit") before it returns. Later sends are cancelled
    // the same way. Call it at exit while the receivers of Failed still exist.
    void Shutdown();

    void PutString(int property, const QString& value) override;
    void PutLong(int property, std::int32_t value) override;
    void Invoke(int method) override;

private:
    void RunCommand(std::int32_t command);
    void Send();
    void Answered(const SmtpOutcome& outcome);
    void RaiseDoneLater();

    std::chrono::milliseconds giveUpAfter_;
    QString server_;
    QString userName_;
    QString password_;

    MimeMessage message_;
    QString mediaType_;
    QString mediaSubtype_;
    QString transferEncoding_;
    QString disposition_;
    QString attachmentFile_;
    // The part as EndPart took it.
    QString partEncoding_;
    QString partFile_;

    // Messages handed to the worker and not answered yet, and the AwaitDelivery requests that wait
    // for their answers.
    int sending_ = 0;
    int awaiting_ = 0;

    TransferThread sender_;
};

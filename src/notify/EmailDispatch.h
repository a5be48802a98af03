#pragma once

#include "common/Flag.h"
#include "notify/BoundaryNumbers.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <deque>
#include <functional>

class IClock;
class IMessageBox;
class IMousePointer;
class INetworkConnection;
class MailComponent;
class QTimer;
struct SettingsRecord;

// The e-mail path of monitoring: it checks the mail settings, sends a detection image at once when
// the network is up or parks it until a tick of InternetTimer finds the network up, hands each
// message to the mail component and follows the component's Done events with the pointer, telling
// when a message starts and stops being sent. Failures the component reports go into the log.
class EmailDispatch final : public QObject
{
    Q_OBJECT

public:
    struct Ports
    {
        const SettingsRecord& Settings;
        INetworkConnection& Connection;
        MailComponent& Mail;
        IMessageBox& Messages;
        IClock& Clock;
        IMousePointer& Pointer;
        // The poll timer, interval 1000 ms; it ticks into InternetTimer_Timer.
        QTimer& InternetTimer;
        // Appends one line to the log (the writer puts the ">" in front).
        std::function<void(const QString&)> WriteLogEntry;
        // The message is handed over and being delivered; the last Done of a message came.
        std::function<void()> SendingStarted;
        std::function<void()> SendingEnded;
    };

    explicit EmailDispatch(Ports ports, QObject* parent = nullptr);

    void NotifyEmail(const QString& ImageFile);
    // Mails an event's first picture with text as the message's text. Unlike NotifyEmail it never
    // drops the message: it waits for the one being sent, and for the network, and goes out then.
    void NotifyEvent(const QString& ImageFile, const QString& text);
    // True when the message was handed to the mail component, False when one is still in it. The
    // picture goes with the media type and name of its format; text, when not empty, goes before it.
    Flag EmailImage(const QString& ImageFile, const QString& text = {});
    void Mail1_Done();
    void Mail1_Failed(const QString& reason);
    void InternetTimer_Timer();
    Flag IsConnected();
    Flag AutoDialConnect();

    // The image that waits for the network, or empty.
    QString PendingEmailImage;
    // 0 idle, 1 submitted and waiting for the first Done, 2 second stage running.
    std::int16_t MailState = 0;

private:
    struct EventMail
    {
        QString ImageFile;
        QString Text;
    };

    bool MailUsable();
    // Hands the oldest waiting event message to the mail component when it and the network are free.
    void SendWaitingEvent();

    Ports ports_;
    std::deque<EventMail> waitingEvents_;
    BoundaryNumbers boundaries_;
};

inline const QString InsufficientEmailConfigurationText = QStringLiteral("Insufficient Email Configuration.");

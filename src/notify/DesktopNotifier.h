#pragma once

#include "common/DetectionEvent.h"

#include <QDBusConnection>
#include <QImage>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <map>
#include <optional>

class IClock;

// Tells the desktop of each event through its notification service (org.freedesktop.Notifications):
// one notification per event, replaced while the event goes on (at most every UpdateSeconds), with the
// event's first picture and the actions Show and Open picture where the service can show them. Every
// call is asynchronous. Without a service, the tray icon's balloon tells of the event's start instead.
// A failure is logged once, until the service works again.
class DesktopNotifier final : public QObject
{
    Q_OBJECT

public:
    static constexpr int UpdateSeconds = 10;

    struct Links
    {
        QDBusConnection Bus;
        IClock& Clock;
        // Appends one line to the log.
        std::function<void(const QString& text)> WriteLog;
        // Shows title and text in the tray icon's balloon; false when there is no icon to show it.
        std::function<bool(const QString& title, const QString& text)> Balloon;
    };

    explicit DesktopNotifier(Links links, QObject* parent = nullptr);

    void EventStarted(const DetectionEvent& event);
    void EventGrew(const DetectionEvent& event);
    void EventEnded(const DetectionEvent& event);

    // The summary of every notification.
    static QString Summary();
    // The body: the event's time and its count of detections.
    static QString Body(const DetectionEvent& event, bool ended);

signals:
    // The user chose Show (or the notification itself).
    void ShowRequested();
    // The user chose Open picture.
    void PictureRequested(const QString& path);

private slots:
    void OnActionInvoked(uint id, const QString& action);
    void OnNotificationClosed(uint id, uint reason);

private:
    // The notification of the event going on.
    struct Shown
    {
        DetectionEvent Event;
        QImage Picture;
        // 0 until the service answered the first Notify.
        uint Id = 0;
        bool Asked = false;
        bool Closed = false;
        bool Ended = false;
        // What was last sent, and whether a newer state waits to be sent.
        std::int32_t SentDetections = 0;
        bool Waiting = false;
    };

    void AskCapabilities();
    void Send();
    void Failed(const QString& reason);
    void Succeeded();

    Links links_;
    // The service's capabilities once it answered; empty while unknown.
    std::optional<QStringList> capabilities_;
    bool asking_ = false;
    bool failureLogged_ = false;
    std::optional<Shown> shown_;
    // Pictures of the notifications sent, for their Open picture action.
    std::map<uint, QString> pictures_;
    QTimer holdUpdates_;
};

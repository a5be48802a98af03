#include "notify/DesktopNotifier.h"

#include "ui/DateText.h"

#include <QDBusArgument>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QImageReader>
#include <QVariantMap>

namespace
{
const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
const QString Interface = QStringLiteral("org.freedesktop.Notifications");
constexpr int PictureSide = 256;
// Notifications kept for their actions; older ones no longer open their picture.
constexpr std::size_t KeptPictures = 50;

// The picture of a notification as the service reads it: (iiibiiay).
struct NotificationImage
{
    int Width = 0;
    int Height = 0;
    int RowStride = 0;
    bool HasAlpha = false;
    int BitsPerSample = 8;
    int Channels = 3;
    QByteArray Data;
};
} // namespace

Q_DECLARE_METATYPE(NotificationImage)

namespace
{
QDBusArgument& operator<<(QDBusArgument& argument, const NotificationImage& image)
{
    argument.beginStructure();
    argument << image.Width << image.Height << image.RowStride << image.HasAlpha << image.BitsPerSample
             << image.Channels << image.Data;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, NotificationImage& image)
{
    argument.beginStructure();
    argument >> image.Width >> image.Height >> image.RowStride >> image.HasAlpha >> image.BitsPerSample >>
        image.Channels >> image.Data;
    argument.endStructure();
    return argument;
}

// The picture scaled to at most PictureSide pixels on its longer side; null when it cannot be read.
QImage ReadPicture(const QString& path)
{
    if (path.isEmpty())
        return {};
    QImageReader reader(path);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > PictureSide || size.height() > PictureSide))
        reader.setScaledSize(size.scaled(PictureSide, PictureSide, Qt::KeepAspectRatio));
    return reader.read().convertToFormat(QImage::Format_RGB888);
}

NotificationImage ImageData(const QImage& picture)
{
    NotificationImage image;
    image.Width = picture.width();
    image.Height = picture.height();
    image.RowStride = static_cast<int>(picture.bytesPerLine());
    image.Data = QByteArray(reinterpret_cast<const char*>(picture.constBits()), picture.sizeInBytes());
    return image;
}

QString TimeText(const QDateTime& when)
{
    return when.time().toString(QStringLiteral("HH:mm:ss"));
}
} // namespace

DesktopNotifier::DesktopNotifier(Links links, QObject* parent) : QObject(parent), links_(std::move(links))
{
    qDBusRegisterMetaType<NotificationImage>();
    holdUpdates_.setSingleShot(true);
    connect(&holdUpdates_, &QTimer::timeout, this, &DesktopNotifier::Send);
    // The service's signals reach every client; the ids tell ours apart.
    links_.Bus.connect(Service, Path, Interface, QStringLiteral("ActionInvoked"), this,
                       SLOT(OnActionInvoked(uint, QString)));
    links_.Bus.connect(Service, Path, Interface, QStringLiteral("NotificationClosed"), this,
                       SLOT(OnNotificationClosed(uint, uint)));
}

QString DesktopNotifier::Summary()
{
    return QStringLiteral("Vantu: movement detected");
}

QString DesktopNotifier::Body(const DetectionEvent& event, bool ended)
{
    const QString count = event.Detections == 1 ? QStringLiteral("1 detection")
                                                : QStringLiteral("%1 detections").arg(event.Detections);
    if (event.Detections == 1)
        return QStringLiteral("Movement at %1, %2").arg(TimeText(event.Start), count);
    if (ended)
        return QStringLiteral("Movement from %1 to %2, %3")
            .arg(TimeText(event.Start), TimeText(event.Last), count);
    return QStringLiteral("Movement since %1, %2").arg(TimeText(event.Start), count);
}

void DesktopNotifier::EventStarted(const DetectionEvent& event)
{
    holdUpdates_.stop();
    shown_ = Shown{event, ReadPicture(event.FirstPicture.value_or(QString()))};
    shown_->Waiting = true;
    if (!capabilities_)
        AskCapabilities();
    else
        Send();
}

void DesktopNotifier::EventGrew(const DetectionEvent& event)
{
    if (!shown_ || shown_->Event.Number != event.Number)
        return;
    shown_->Event = event;
    shown_->Waiting = true;
    if (!holdUpdates_.isActive())
        Send();
}

void DesktopNotifier::EventEnded(const DetectionEvent& event)
{
    if (!shown_ || shown_->Event.Number != event.Number)
        return;
    shown_->Event = event;
    shown_->Ended = true;
    // The last state goes out at once, unless nothing changed since it was sent.
    shown_->Waiting = event.Detections != shown_->SentDetections || shown_->Waiting;
    holdUpdates_.stop();
    Send();
}

void DesktopNotifier::AskCapabilities()
{
    if (asking_)
        return;
    if (!links_.Bus.isConnected())
    {
        Failed(QStringLiteral("there is no desktop session bus (%1)").arg(links_.Bus.lastError().message()));
        return;
    }
    asking_ = true;
    const QDBusMessage call =
        QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("GetCapabilities"));
    auto* watcher = new QDBusPendingCallWatcher(links_.Bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* answer)
            {
                answer->deleteLater();
                asking_ = false;
                const QDBusPendingReply<QStringList> reply = *answer;
                if (reply.isError())
                {
                    Failed(reply.error().message());
                    return;
                }
                capabilities_ = reply.value();
                Send();
            });
}

void DesktopNotifier::Send()
{
    if (!shown_ || !shown_->Waiting || shown_->Closed || !capabilities_)
        return;
    // An update waits for the id of the first notification.
    if (shown_->Asked && shown_->Id == 0)
        return;
    const QStringList& can = *capabilities_;
    Shown& shown = *shown_;
    QStringList actions;
    if (can.contains(QStringLiteral("actions")))
    {
        actions << QStringLiteral("default") << QStringLiteral("Show") << QStringLiteral("show")
                << QStringLiteral("Show");
        if (shown.Event.FirstPicture)
            actions << QStringLiteral("open") << QStringLiteral("Open picture");
    }
    QVariantMap hints{{QStringLiteral("category"), QStringLiteral("device")},
                      {QStringLiteral("desktop-entry"), QStringLiteral("org.vantu.Vantu")}};
    const bool pictures = can.contains(QStringLiteral("icon-static")) ||
                          can.contains(QStringLiteral("icon-multi")) ||
                          can.contains(QStringLiteral("body-images"));
    if (pictures && !shown.Picture.isNull())
        hints.insert(QStringLiteral("image-data"), QVariant::fromValue(ImageData(shown.Picture)));
    const QString body = can.contains(QStringLiteral("body")) ? Body(shown.Event, shown.Ended) : QString();

    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("Notify"));
    call << QStringLiteral("Vantu") << shown.Id << QStringLiteral("vantu") << Summary() << body << actions
         << hints << -1;
    shown.Asked = true;
    shown.Waiting = false;
    shown.SentDetections = shown.Event.Detections;
    holdUpdates_.start(UpdateSeconds * 1000);
    const std::int32_t number = shown.Event.Number;
    const QString picture = shown.Event.FirstPicture.value_or(QString());
    auto* watcher = new QDBusPendingCallWatcher(links_.Bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, number, picture](QDBusPendingCallWatcher* answer)
            {
                answer->deleteLater();
                const QDBusPendingReply<uint> reply = *answer;
                if (reply.isError())
                {
                    Failed(reply.error().message());
                    return;
                }
                Succeeded();
                pictures_[reply.value()] = picture;
                if (pictures_.size() > KeptPictures)
                    pictures_.erase(pictures_.begin());
                if (shown_ && shown_->Event.Number == number && shown_->Id == 0)
                {
                    shown_->Id = reply.value();
                    if (!holdUpdates_.isActive() || shown_->Ended)
                        Send();
                }
            });
}

void DesktopNotifier::Failed(const QString& reason)
{
    // Without a service the tray icon tells of the event's start, once.
    if (shown_ && shown_->Id == 0 && !shown_->Closed)
        links_.Balloon(Summary(), Body(shown_->Event, false));
    if (shown_)
        shown_->Closed = true;
    capabilities_.reset();
    if (failureLogged_)
        return;
    failureLogged_ = true;
    links_.WriteLog(QStringLiteral("Desktop Notification Error: ") + reason + QStringLiteral(": ") +
                    NowText(links_.Clock));
}

void DesktopNotifier::Succeeded()
{
    failureLogged_ = false;
}

void DesktopNotifier::OnActionInvoked(uint id, const QString& action)
{
    const auto found = pictures_.find(id);
    if (found == pictures_.end())
        return;
    if (action == QLatin1String("default") || action == QLatin1String("show"))
        emit ShowRequested();
    else if (action == QLatin1String("open") && !found->second.isEmpty())
        emit PictureRequested(found->second);
}

void DesktopNotifier::OnNotificationClosed(uint id, uint)
{
    // A notification the user closed is not brought back by the event's updates.
    if (shown_ && shown_->Id == id)
        shown_->Closed = true;
}

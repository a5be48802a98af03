#include "notify/DesktopNotifier.h"
#include "support/FakeNotifications.h"
#include "support/Fakes.h"

#include <QDBusConnection>
#include <QImage>
#include <QJsonArray>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace
{
// A notifier on the private bus of server, with its log lines and balloons kept.
struct NotifierRig
{
    explicit NotifierRig(const FakeNotifications& server)
        : bus(QDBusConnection::connectToBus(server.BusAddress(), QStringLiteral("notifier-test"))),
          notifier({bus, clock, [this](const QString& text) { log << text; },
                    [this](const QString& title, const QString& text)
                    {
                        balloons << title + QStringLiteral(" / ") + text;
                        return true;
                    }})
    {
        QImage(640, 480, QImage::Format_RGB888).save(dir.filePath(QStringLiteral("Detection_1-0.Bmp")));
    }
    ~NotifierRig() { QDBusConnection::disconnectFromBus(QStringLiteral("notifier-test")); }

    DetectionEvent Event(int number, int detections)
    {
        return {number, clock.now, clock.now, detections, dir.filePath(QStringLiteral("Detection_1-0.Bmp"))};
    }

    QTemporaryDir dir;
    FixedClock clock;
    QStringList log;
    QStringList balloons;
    QDBusConnection bus;
    DesktopNotifier notifier;
};

QStringList Strings(const QJsonValue& value)
{
    QStringList list;
    for (const QJsonValue& item : value.toArray())
        list << item.toString();
    return list;
}
} // namespace

TEST(DesktopNotifierTest, OneNotificationPerEventIsUpdatedInPlaceWithItsPictureHintsAndActions)
{
    FakeNotifications server(true, QStringLiteral("actions,body,icon-static"), QStringLiteral("default"));
    ASSERT_TRUE(server.Started());
    NotifierRig rig(server);
    QSignalSpy shown(&rig.notifier, &DesktopNotifier::ShowRequested);

    rig.notifier.EventStarted(rig.Event(1, 1));
    QList<QJsonObject> calls = server.Calls(1);
    ASSERT_EQ(calls.size(), 1);
    const QJsonObject first = calls[0];
    EXPECT_EQ(first[QStringLiteral("replaces_id")].toInt(), 0);
    EXPECT_EQ(first[QStringLiteral("summary")].toString(), QStringLiteral("Vantu: movement detected"));
    EXPECT_TRUE(first[QStringLiteral("body")].toString().contains(QStringLiteral("1 detection")));
    const QStringList actions = Strings(first[QStringLiteral("actions")]);
    for (const char* key : {"default", "show", "open"})
        EXPECT_TRUE(actions.contains(QLatin1String(key))) << key;
    EXPECT_TRUE(actions.contains(QStringLiteral("Open picture")));
    const QJsonObject hints = first[QStringLiteral("hints")].toObject();
    EXPECT_EQ(hints[QStringLiteral("category")].toString(), QStringLiteral("device"));
    EXPECT_EQ(hints[QStringLiteral("desktop-entry")].toString(), QStringLiteral("org.vantu.Vantu"));
    const QJsonArray image = hints[QStringLiteral("image-data")].toArray();
    ASSERT_EQ(image.size(), 3);
    EXPECT_EQ(image[0].toInt(), 256);
    EXPECT_EQ(image[1].toInt(), 192);
    EXPECT_TRUE(shown.wait(5000)) << "the notification's default action shows the window";

    for (int count = 2; count <= 9; ++count)
        rig.notifier.EventGrew(rig.Event(1, count));
    rig.notifier.EventEnded(rig.Event(1, 9));
    calls = server.Calls(2);
    ASSERT_EQ(calls.size(), 2) << "growth within the update time waits for the event's end";
    EXPECT_EQ(calls[1][QStringLiteral("replaces_id")].toInt(), first[QStringLiteral("id")].toInt());
    EXPECT_TRUE(calls[1][QStringLiteral("body")].toString().contains(QStringLiteral("9 detections")));

    rig.notifier.EventStarted(rig.Event(2, 1));
    calls = server.Calls(3);
    ASSERT_EQ(calls.size(), 3);
    EXPECT_EQ(calls[2][QStringLiteral("replaces_id")].toInt(), 0) << "a new event, a new notification";
    EXPECT_TRUE(rig.log.isEmpty());
    EXPECT_TRUE(rig.balloons.isEmpty());
}

TEST(DesktopNotifierTest, WhatTheServiceCannotShowIsLeftOut)
{
    FakeNotifications server(true, QStringLiteral("body"));
    ASSERT_TRUE(server.Started());
    NotifierRig rig(server);
    rig.notifier.EventStarted(rig.Event(1, 1));
    const QList<QJsonObject> calls = server.Calls(1);
    ASSERT_EQ(calls.size(), 1);
    EXPECT_TRUE(calls[0][QStringLiteral("actions")].toArray().isEmpty());
    EXPECT_FALSE(calls[0][QStringLiteral("hints")].toObject().contains(QStringLiteral("image-data")));
}

TEST(DesktopNotifierTest, WithoutAServiceTheTrayBalloonTellsAndTheFailureIsLoggedOnce)
{
    FakeNotifications bus(false);
    ASSERT_TRUE(bus.Started());
    NotifierRig rig(bus);
    rig.notifier.EventStarted(rig.Event(1, 1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.balloons.size() == 1; }, 5000));
    EXPECT_TRUE(rig.balloons[0].startsWith(QStringLiteral("Vantu: movement detected / ")));
    rig.notifier.EventEnded(rig.Event(1, 3));
    rig.notifier.EventStarted(rig.Event(2, 1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.balloons.size() == 2; }, 5000));
    ASSERT_EQ(rig.log.size(), 1);
    EXPECT_TRUE(rig.log[0].startsWith(QStringLiteral("Desktop Notification Error: ")));
}

#include "notify/NotifySound.h"
#include "notify/QtSoundPlayer.h"
#include "notify/SystemNetworkConnection.h"
#include "support/FakeNetworkManager.h"
#include "support/NotifyFakes.h"
#include "support/TestFiles.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{
QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    QFile file(dir.filePath(name));
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return file.fileName();
}

// Lets the event loop run until the condition holds or the time is up.
template <typename Condition> bool Eventually(Condition condition, int milliseconds = 5000)
{
    const QDeadlineTimer deadline(milliseconds);
    while (!condition() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return condition();
}
} // namespace

TEST(NotifySound, PlaysOnlyAnExistingPlainFile)
{
    QTemporaryDir dir;
    FakeSoundPlayer player;
    PlayNotifySound(dir.filePath(QStringLiteral("missing.Wav")), player);
    PlayNotifySound(dir.path(), player);
    PlayNotifySound(QString(), player);
    EXPECT_TRUE(player.played.isEmpty());

    const QString wav = WriteFile(dir, QStringLiteral("Notify.Wav"), TestWav(100));
    PlayNotifySound(wav, player);
    EXPECT_EQ(player.played, QStringList{wav});
}

TEST(QtSoundPlayer, ReturnsAtOnceDropsRequestsWhileASoundPlaysAndNeverGetsStuck)
{
    QTemporaryDir dir;
    const QString chime = WriteFile(dir, QStringLiteral("chime.Wav"), TestWav(150));
    const QString other = WriteFile(dir, QStringLiteral("other.Wav"), TestWav(150));
    const QString broken =
        WriteFile(dir, QStringLiteral("broken.Wav"), QByteArray("RIFF\x10\0\0\0WAVEjunkjunk", 20));
    QtSoundPlayer player([] { return true; }); // the effect's path, whether or not a device exists
    QElapsedTimer timer;
    timer.start();

    player.Play(dir.filePath(QStringLiteral("missing.Wav")));
    EXPECT_TRUE(Eventually([&] { return player.Playing().isEmpty(); }));
    player.Play(broken);
    EXPECT_TRUE(Eventually([&] { return player.Playing().isEmpty(); }));

    player.Play(chime);
    player.Play(other);
    EXPECT_LT(timer.elapsed(), 1000) << "playing never waits for the sound";
    EXPECT_EQ(player.Playing(), chime) << "the second request is dropped while the first plays";

    // With or without an audio device, the sound ends, and the next one plays.
    EXPECT_TRUE(Eventually(
        [&]
        {
            player.Play(other);
            return player.Playing() == other;
        }));
    // The sound service loads samples on a thread of its own; letting the last one finish before the
    // player goes leaves nothing of it behind at exit.
    EXPECT_TRUE(Eventually([&] { return player.Playing().isEmpty(); }));
}

TEST(QtSoundPlayer, WithoutAnAudioDeviceTellsOnceAndTriesNoSound)
{
    QTemporaryDir dir;
    const QString chime = WriteFile(dir, QStringLiteral("chime.Wav"), TestWav(150));
    QtSoundPlayer player([] { return false; });
    QStringList notices;
    player.SetNotice([&notices](const QString& text) { notices << text; });
    player.Play(chime);
    player.Play(chime);
    EXPECT_TRUE(player.Playing().isEmpty());
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices[0].startsWith(QStringLiteral("No audio device")));
}

TEST(SystemNetworkConnection, OnlineUnknownOrNoNetworkStatusCountAsConnected)
{
    using Reachability = QNetworkInformation::Reachability;
    EXPECT_TRUE(CountsAsConnected(std::nullopt));
    EXPECT_TRUE(CountsAsConnected(Reachability::Online));
    EXPECT_TRUE(CountsAsConnected(Reachability::Unknown));
    EXPECT_FALSE(CountsAsConnected(Reachability::Disconnected));
    EXPECT_FALSE(CountsAsConnected(Reachability::Local));
    EXPECT_FALSE(CountsAsConnected(Reachability::Site));
}

TEST(SystemNetworkConnection, DialingActivatesTheFirstDisconnectedDeviceAndOtherwiseNothing)
{
    FakeNetworkManager waiting;
    ASSERT_TRUE(waiting.Started());
    EXPECT_TRUE(SystemNetworkConnection(waiting.BusAddress()).AutoDialConnect());
    EXPECT_EQ(waiting.Activations(),
              QStringList{QStringLiteral("/ /org/freedesktop/NetworkManager/Devices/1 /")});

    FakeNetworkManager connected(true);
    ASSERT_TRUE(connected.Started());
    EXPECT_FALSE(SystemNetworkConnection(connected.BusAddress()).AutoDialConnect());
    EXPECT_TRUE(connected.Activations().isEmpty());

    // No bus at all: false at once.
    QTemporaryDir dir;
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(SystemNetworkConnection(QStringLiteral("unix:path=") + dir.filePath(QStringLiteral("none")))
                     .AutoDialConnect());
    EXPECT_LT(timer.elapsed(), 1000);
}

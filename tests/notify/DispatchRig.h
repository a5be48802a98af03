#pragma once

#include "common/SettingsRecord.h"
#include "notify/EmailDispatch.h"
#include "support/Fakes.h"
#include "support/NotifyFakes.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

// An e-mail dispatch as the monitoring session holds it, on fake services (the mail component is a template
// argument, so that a test can put the real one in), with complete mail settings.
template <typename Mail> struct DispatchRig
{
    template <typename... MailArguments>
    explicit DispatchRig(MailArguments&&... mailArguments)
        : mail(std::forward<MailArguments>(mailArguments)...)
    {
        settings.EmailAddress = QStringLiteral("watcher@example.org");
        settings.POPServer = QStringLiteral("127.0.0.1:1");
        settings.POPUser = QStringLiteral("watcher");
        settings.POPPassword = QStringLiteral("s3cret-Pa55");
        internetTimer.setInterval(1000);
    }

    // A detection image in the rig's folder.
    QString Image(const QString& name, const QByteArray& bytes = QByteArrayLiteral("BM picture"))
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return path;
    }

    QTemporaryDir dir;
    SettingsRecord settings;
    FakeNetworkConnection connection;
    Mail mail;
    FakeMessageBox messages;
    FixedClock clock;
    FakePointer pointer;
    QTimer internetTimer;
    QStringList log;
    // Messages started and ended, as the dispatch tells them.
    int started = 0;
    int ended = 0;
    EmailDispatch dispatch{{settings, connection, mail, messages, clock, pointer, internetTimer,
                            [this](const QString& line) { log << line; }, [this] { ++started; },
                            [this] { ++ended; }}};
};

#pragma once

// Stand-ins for the platform that the benchmark programs share.

#include "app/VantuPlatform.h"
#include "notify/QtSoundPlayer.h"
#include "notify/SmtpMailComponent.h"
#include "notify/SystemNetworkConnection.h"
#include "ui/AppDirectory.h"
#include "ui/DateText.h"
#include "ui/MessageBox.h"
#include "ui/MousePointer.h"

#include <QFile>
#include <QString>
#include <cstdio>

// A given folder as the application directory.
class BenchFolder final : public IAppDirectory
{
public:
    explicit BenchFolder(QString path) : path_(std::move(path)) {}
    QString Path() const override { return path_; }

private:
    QString path_;
};

// A box would wait for a person: each is printed and answered at once.
class PrintedMessages final : public IMessageBox
{
public:
    MsgBoxResult Show(const QString& prompt, MsgBoxStyle, const QString& title) override
    {
        std::fprintf(stderr, "Message box %s: %s\n", qPrintable(title), qPrintable(prompt));
        return MsgBoxResult::Ok;
    }
};

// The program's own clock, pointer, sound, mail and connection, for a main window on a given folder
// and message boxes.
struct ProgramServices
{
    VantuPlatform With(IAppDirectory& folder, IMessageBox& messages)
    {
        return {folder, messages, Clock, Pointer, Sound, Mail, Connection};
    }

    SystemClock Clock;
    ScreenPointer Pointer;
    QtSoundPlayer Sound;
    SmtpMailComponent Mail;
    SystemNetworkConnection Connection;
};

// The named line ("VmRSS:  51200 kB") of the file /proc/<pid>/<file>, or an empty text.
inline QString ProcLine(qint64 pid, const char* file, const char* name)
{
    QFile proc(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(file)));
    if (!proc.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    // Files under /proc report a size of 0, so read until the end instead of up to a size.
    const QStringList lines = QString::fromLatin1(proc.readAll()).split(QLatin1Char('\n'));
    for (const QString& line : lines)
        if (line.startsWith(QLatin1String(name) + QLatin1Char(':')))
            return line.simplified();
    return {};
}

// The named line of /proc/<pid>/smaps_rollup ("Private_Dirty:  20480 kB"), or an empty text.
inline QString SmapsLine(qint64 pid, const char* name)
{
    return ProcLine(pid, "smaps_rollup", name);
}

#include "app/CommandLine.h"
#include "app/ProgramEnd.h"
#include "app/SingleInstance.h"
#include "app/UnattendedRun.h"
#include "app/frmVantu.h"
#include "capture/SystemCaptureDrivers.h"
#include "notify/QtSoundPlayer.h"
#include "notify/SmtpMailComponent.h"
#include "notify/SystemNetworkConnection.h"
#include "ui/AppDirectory.h"
#include "ui/DateText.h"
#include "ui/MessageBox.h"
#include "ui/MousePointer.h"
#include "ui/Pictures.h"

#include <QApplication>
#include <QDBusConnection>
#include <cstdio>
#include <optional>

namespace
{
// The status to end with at once for line, having printed what it asks for; empty to run.
std::optional<int> EndAtOnce(const CommandLine& line)
{
    switch (line.What)
    {
    case CommandLine::Action::Run:
        return std::nullopt;
    case CommandLine::Action::Help:
    case CommandLine::Action::Version:
        std::fputs(line.Text.toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLine::Action::Bad:
        break;
    }
    std::fputs(line.Text.toLocal8Bit().constData(), stderr);
    return 2;
}
} // namespace

int main(int argc, char* argv[])
{
    // Help, the version and a bad option are answered before the window system is reached, so that
    // they work without a display; the toolkit's own options are known once the application exists.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    CommandLine line = ReadCommandLine(arguments);
    if (line.What != CommandLine::Action::Bad || !OnlyToolkitOptionsUnknown(arguments))
        if (const std::optional<int> status = EndAtOnce(line))
            return *status;
    QApplication application(argc, argv);
    if (line.What == CommandLine::Action::Bad)
    {
        line = ReadCommandLine(QCoreApplication::arguments());
        if (const std::optional<int> status = EndAtOnce(line))
            return *status;
    }
    QApplication::setApplicationName(QStringLiteral("Vantu"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.vantu.Vantu"));
    InitVantuResources();

    QtMessageBox messages;
    AppDirectory appDirectory(ProgramPlaces::OfThisProgram(), FolderWritable);
    QString error;
    if (!appDirectory.Create(&error))
    {
        WriteExitReason(stderr, error);
        messages.Show(error, MsgBoxStyle::Critical, ApplicationTitle);
        return 1;
    }
    SingleInstance instance(appDirectory.Path());
    switch (instance.Start(&error, {!line.Hidden || !line.Monitor, line.Monitor}))
    {
    case SingleInstance::Outcome::First:
        break;
    case SingleInstance::Outcome::BroughtToFront:
        return 0;
    case SingleInstance::Outcome::NotAnswering:
        error = QStringLiteral("Vantu already runs with its files in \"%1\", but it does not answer.")
                    .arg(appDirectory.Path());
        WriteExitReason(stderr, error);
        messages.Show(error, MsgBoxStyle::Exclamation, ApplicationTitle);
        return 1;
    case SingleInstance::Outcome::Failed:
        std::fprintf(stderr, "vantu: a second start of Vantu will not find this one (%s)\n",
                     qPrintable(error));
        break;
    }

    SystemClock clock;
    ScreenPointer pointer;
    QtSoundPlayer sound;
    SmtpMailComponent mail;
    SystemNetworkConnection connection;
    InstallCaptureDrivers(std::make_shared<SystemCaptureDrivers>(appDirectory.Path()));

    frmVantu window({appDirectory, messages, clock, pointer, sound, mail, connection});
    QObject::connect(&instance, &SingleInstance::ActivationRequested, &window, &frmVantu::BringToFront);
    window.Form_Load();
    if (!window.IsUnloaded())
    {
        UnattendedRun unattended(window, clock, QDBusConnection::sessionBus());
        QObject::connect(&instance, &SingleInstance::MonitorRequested, &unattended,
                         &UnattendedRun::MonitorWhenLive);
        if (line.Monitor)
            unattended.MonitorWhenLive();
        if (line.Hidden)
            unattended.StartHidden();
        else
            window.show();
        QApplication::exec();
    }
    // While the window, and with it the log, still exists.
    EndProgram(instance, mail);
    if (window.ExitReason().isEmpty())
        return 0;
    WriteExitReason(stderr, window.ExitReason());
    return 1;
}

#include "app/ProgramEnd.h"
#include "app/SingleInstance.h"
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
#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
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
    switch (instance.Start(&error))
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

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
    InitVantuResources();

    ExecutableDirectory appDirectory;
    QtMessageBox messages;
    SystemClock clock;
    ScreenPointer pointer;
    QtSoundPlayer sound;
    SmtpMailComponent mail;
    SystemNetworkConnection connection;
    InstallCaptureDrivers(std::make_shared<SystemCaptureDrivers>(appDirectory.Path()));

    frmVantu window({appDirectory, messages, clock, pointer, sound, mail, connection});
    window.Form_Load();
    if (!window.IsUnloaded())
    {
        window.show();
        QApplication::exec();
    }
    if (window.ExitReason().isEmpty())
        return 0;
    std::fprintf(stderr, "vantu: %s\n", qPrintable(window.ExitReason()));
    return 1;
}

#pragma once

#include "common/Flag.h"

#include <QString>
#include <cstdint>

// The eighteen persisted settings, in the order in which the settings file stores them.
struct SettingsRecord
{
    Flag AutoConnect = False;
    QString Reserved1;
    Flag SettingsLoaded = False;
    double Sensitivity = 0.0;
    std::int32_t MaxFiles = 0;
    Flag SoundNotify = False;
    QString ImageDirectory;
    QString NotifyFile;
    Flag SaveImage = False;
    Flag EmailNotify = False;
    QString EmailAddress;
    QString POPServer;
    QString POPUser;
    QString POPPassword;
    QString DeviceName;
    QString LogFile;
    Flag WriteLogFile = False;
    std::int32_t LogMaxSize = 0;

    bool operator==(const SettingsRecord&) const = default;
};

#include "settings/SettingsFile.h"

#include "common/AtomicFile.h"
#include "settings/SettingsCodec.h"
#include "ui/MessageBox.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>

void ApplyStartValues(SettingsRecord& settings)
{
    settings.SoundNotify = True;
    settings.SaveImage = True;
    settings.EmailNotify = False;
}

void ApplyDefaults(SettingsRecord& s, const QString& appDirectory)
{
    if (s.NotifyFile.isEmpty())
        s.NotifyFile = appDirectory + QStringLiteral("/Notify.Wav");
    if (s.ImageDirectory.isEmpty())
        s.ImageDirectory = appDirectory + QStringLiteral("/Detections/");
    if (s.LogFile.isEmpty())
        s.LogFile = appDirectory + QStringLiteral("/Vantu.Log");
    if (s.MaxFiles == 0)
        s.MaxFiles = 20;
    if (s.LogMaxSize == 0)
        s.LogMaxSize = 1;
    if (s.Sensitivity == 0.0 || std::isnan(s.Sensitivity))
        s.Sensitivity = 2.0;
}

SettingsFile::SettingsFile(const QString& appDirectory, IMessageBox& messages)
    : appDirectory_(appDirectory), path_(appDirectory + QStringLiteral("/Vantu.Dat")), messages_(messages)
{
}

void SettingsFile::LoadSettings(SettingsRecord& settings)
{
    ApplyStartValues(settings);
    if (QFileInfo::exists(path_))
    {
        QFile file(path_);
        if (file.open(QIODevice::ReadOnly))
        {
            settings = DecodeSettings(file.readAll());
            settings.SettingsLoaded = True;
        }
        else
        {
            messages_.Show(QStringLiteral("Vantu could not read its settings file \"%1\" (%2). "
                                          "It starts with the default settings instead.")
                               .arg(path_, file.errorString()),
                           MsgBoxStyle::Exclamation);
        }
    }
    ApplyDefaults(settings, appDirectory_);
}

void SettingsFile::SaveSettings(const SettingsRecord& settings)
{
    QString error;
    if (ReplaceFileContents(path_, EncodeSettings(settings), &error))
    {
        saveFailureShown_ = false;
        return;
    }
    if (saveFailureShown_)
        return;
    saveFailureShown_ = true;
    messages_.Show(QStringLiteral("Vantu could not save its settings to \"%1\" (%2). "
                                  "Your settings stay in effect until Vantu ends.")
                       .arg(path_, error),
                   MsgBoxStyle::Exclamation);
}

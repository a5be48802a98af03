#pragma once

#include "common/SettingsRecord.h"

#include <QString>

class IMessageBox;

// The values every start begins with, before the settings file is read.
void ApplyStartValues(SettingsRecord& settings);

// Replaces empty paths and zero (or not-a-number) limits with their defaults. appDirectory has no
// trailing separator; soundFile is the notification sound that comes with the program.
void ApplyDefaults(SettingsRecord& settings, const QString& appDirectory, const QString& soundFile);

// The settings file "Vantu.Dat" in the application directory. A file that cannot be read or written
// never stops the program: it keeps the values it has and the user is told once what failed. A file
// that exists but cannot be read, or is damaged or incomplete, is never overwritten: the next save
// keeps it as "Vantu.Dat.bak". The fields such a file does not hold take the first start's values.
class SettingsFile
{
public:
    // soundFile is the default notification sound; without one, "Notify.Wav" in appDirectory.
    SettingsFile(const QString& appDirectory, IMessageBox& messages, const QString& soundFile = {});

    void LoadSettings(SettingsRecord& settings);
    void SaveSettings(const SettingsRecord& settings);

private:
    void ReportSaveFailure(const QString& message);

    QString appDirectory_;
    QString soundFile_;
    QString path_;
    IMessageBox& messages_;
    bool saveFailureShown_ = false;
    // The file on disk could not be read in full: it is moved aside before anything replaces it.
    bool keepOriginal_ = false;
};

#pragma once

#include <QString>
#include <functional>

class IMessageBox;
struct SettingsRecord;

// Appends one ">"-prefixed line per event to "Vantu.Log" in the application directory, while logging
// is on and the file is within its size limit.
class LogWriter
{
public:
    LogWriter(const QString& appDirectory, SettingsRecord& settings, IMessageBox& messages,
              std::function<void()> saveSettings);

    void WriteLogEntry(const QString& text);

private:
    QString path_;
    SettingsRecord& settings_;
    IMessageBox& messages_;
    std::function<void()> saveSettings_;
    bool appendFailureShown_ = false;
};

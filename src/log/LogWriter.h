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

    // Told, besides the message box, when appending first fails and the first time after a success;
    // and, once per run, without a box, when the first entry is dropped because the log is full.
    void SetFailureNotice(std::function<void(const QString& text)> notice)
    {
        failureNotice_ = std::move(notice);
    }

private:
    QString path_;
    SettingsRecord& settings_;
    IMessageBox& messages_;
    std::function<void()> saveSettings_;
    bool appendFailureShown_ = false;
    bool fullNoticeShown_ = false;
    std::function<void(const QString&)> failureNotice_;
};

// Appends one line to the file, creating it when missing. An append that fails part-way is cut
// back, so the file only ever holds whole lines. error holds the reason on failure.
bool AppendWholeLine(const QString& path, const QByteArray& line, QString* error);

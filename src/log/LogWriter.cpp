#include "log/LogWriter.h"

#include "common/AnsiText.h"
#include "common/SettingsRecord.h"
#include "ui/MessageBox.h"

#include <QFile>
#include <QFileInfo>

LogWriter::LogWriter(const QString& appDirectory, SettingsRecord& settings, IMessageBox& messages,
                     std::function<void()> saveSettings)
    : path_(appDirectory + QStringLiteral("/Vantu.Log")), settings_(settings), messages_(messages),
      saveSettings_(std::move(saveSettings))
{
}

void LogWriter::WriteLogEntry(const QString& text)
{
    if (!IsTrue(settings_.WriteLogFile))
        return;

    if (settings_.LogFile.isEmpty())
    {
        messages_.Show(QStringLiteral("Warning!  Tried to add log entry and no long file is known.  Please "
                                      "correct problem and restart logging."),
                       MsgBoxStyle::OkOnly, QStringLiteral("Logging Error"));
        settings_.WriteLogFile = False;
        saveSettings_();
        return;
    }

    const QFileInfo info(path_);
    if (info.exists() && static_cast<double>(info.size()) / 1024.0 > settings_.LogMaxSize)
        return;

    QFile file(path_);
    const QByteArray line = QByteArray(">") + EncodeAnsi(text) + QByteArray("\r\n");
    if (file.open(QIODevice::WriteOnly | QIODevice::Append) && file.write(line) == line.size() &&
        file.flush())
    {
        appendFailureShown_ = false;
        return;
    }
    if (appendFailureShown_)
        return;
    appendFailureShown_ = true;
    messages_.Show(QStringLiteral("Vantu could not add to its log file \"%1\" (%2). Events are not being "
                                  "logged until the file can be written again.")
                       .arg(path_, file.errorString()),
                   MsgBoxStyle::Exclamation);
}

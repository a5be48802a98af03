#include "log/LogClearing.h"

#include "common/AtomicFile.h"
#include "ui/MessageBox.h"

void ClearLog(const QString& appDirectory, IMessageBox& messages)
{
    const QString title = QStringLiteral("Clear Log File");
    if (messages.Show(QStringLiteral("Are you sure that you wish to permanently clear all log entries?"),
                      MsgBoxStyle::YesNo, title) != MsgBoxResult::Yes)
    {
        messages.Show(QStringLiteral("Clear Canceled."), MsgBoxStyle::OkOnly, QStringLiteral("Aborted."));
        return;
    }

    const QString path = appDirectory + QStringLiteral("/Vantu.Log");
    QString error;
    if (!ReplaceFileContents(path, QByteArrayLiteral("\r\n"), &error))
    {
        messages.Show(QStringLiteral("The log file \"%1\" could not be cleared: %2. Its entries were kept.")
                          .arg(path, error),
                      MsgBoxStyle::Exclamation, title);
        return;
    }
    messages.Show(QStringLiteral("Log File Cleared."), MsgBoxStyle::OkOnly, title);
}

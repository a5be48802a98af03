#include "log/LogWriter.h"

#include "common/AnsiText.h"
#include "common/SettingsRecord.h"
#include "common/WriteAll.h"
#include "ui/MessageBox.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    {
        // The log stops growing at its limit; the user hears of it once, without a box to answer.
        if (!fullNoticeShown_ && failureNotice_)
            failureNotice_(
                QStringLiteral("Log file full: new events are no longer logged (Max Size %1 KB). The "
                               "limit is set on the Log File tab of View, Preferences, where Clear "
                               "Log File empties the log.")
                    .arg(settings_.LogMaxSize));
        fullNoticeShown_ = true;
        return;
    }

    QString error;
    if (AppendWholeLine(path_, QByteArray(">") + EncodeAnsi(text) + QByteArray("\r\n"), &error))
    {
        appendFailureShown_ = false;
        return;
    }
    if (appendFailureShown_)
        return;
    appendFailureShown_ = true;
    if (failureNotice_)
        failureNotice_(QStringLiteral("The log file cannot be written: %1").arg(error));
    messages_.Show(QStringLiteral("Vantu could not add to its log file \"%1\" (%2). Events are not being "
                                  "logged until the file can be written again.")
                       .arg(path_, error),
                   MsgBoxStyle::Exclamation);
}

bool AppendWholeLine(const QString& path, const QByteArray& line, QString* error)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
    {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    struct stat before
    {
    };
    int failure = 0;
    bool written = ::fstat(fd, &before) == 0;
    if (!written)
        failure = errno;
    else
        written = WriteAll(fd, line.constData(), line.size(), &failure);
    // A line cut short would glue the next one onto its fragment: the file goes back to its old end.
    if (!written && S_ISREG(before.st_mode))
    {
        // The reason worth telling is the one the write gave; a failed cut leaves nothing better to do.
        [[maybe_unused]] const int cut = ::ftruncate(fd, before.st_size);
    }
    ::close(fd);
    if (!written)
        *error = QString::fromLocal8Bit(std::strerror(failure));
    return written;
}

#include "settings/SettingsFile.h"

#include "common/AtomicFile.h"
#include "settings/SettingsCodec.h"
#include "ui/MessageBox.h"

#include <QFile>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

void ApplyStartValues(SettingsRecord& settings)
{
    settings.SoundNotify = True;
    settings.SaveImage = True;
    settings.EmailNotify = False;
}

void ApplyDefaults(SettingsRecord& s, const QString& appDirectory, const QString& soundFile)
{
    if (s.NotifyFile.isEmpty())
        s.NotifyFile = soundFile;
    if (s.ImageDirectory.isEmpty())
        s.ImageDirectory = appDirectory + QStringLiteral("/Detections/");
    else if (!s.ImageDirectory.endsWith(QChar('/')))
        s.ImageDirectory += QChar('/');
    if (s.LogFile.isEmpty())
        s.LogFile = appDirectory + QStringLiteral("/Vantu.Log");
    if (s.MaxFiles == 0)
        s.MaxFiles = 20;
    if (s.LogMaxSize == 0)
        s.LogMaxSize = 1;
    if (s.Sensitivity == 0.0 || std::isnan(s.Sensitivity))
        s.Sensitivity = 2.0;
}

SettingsFile::SettingsFile(const QString& appDirectory, IMessageBox& messages, const QString& soundFile)
    : appDirectory_(appDirectory),
      soundFile_(soundFile.isEmpty() ? appDirectory + QStringLiteral("/Notify.Wav") : soundFile),
      path_(appDirectory + QStringLiteral("/Vantu.Dat")), messages_(messages)
{
}

namespace
{
enum class ReadOutcome
{
    Missing,
    Read,
    Unreadable
};

// Reads at most the largest record from a regular file, without ever blocking on a special file.
ReadOutcome ReadSettingsBytes(const QString& path, QByteArray* bytes, QString* error)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
    {
        if (errno == ENOENT)
            return ReadOutcome::Missing;
        *error = QString::fromLocal8Bit(std::strerror(errno));
        return ReadOutcome::Unreadable;
    }
    struct stat info
    {
    };
    ReadOutcome outcome = ReadOutcome::Read;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
    {
        *error = QStringLiteral("it is not a settings file but a folder or a special file");
        outcome = ReadOutcome::Unreadable;
    }
    else
    {
        bytes->resize(MaxSettingsSize);
        qsizetype total = 0;
        while (total < MaxSettingsSize)
        {
            const ssize_t n = ::read(fd, bytes->data() + total, static_cast<size_t>(MaxSettingsSize - total));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
            {
                *error = QString::fromLocal8Bit(std::strerror(errno));
                outcome = ReadOutcome::Unreadable;
                break;
            }
            if (n == 0)
                break;
            total += n;
        }
        bytes->truncate(total);
    }
    ::close(fd);
    return outcome;
}
} // namespace

void SettingsFile::LoadSettings(SettingsRecord& settings)
{
    ApplyStartValues(settings);
    QByteArray bytes;
    QString error;
    switch (ReadSettingsBytes(path_, &bytes, &error))
    {
    case ReadOutcome::Missing:
        break;
    case ReadOutcome::Unreadable:
        keepOriginal_ = true;
        messages_.Show(
            QStringLiteral("Vantu could not read its settings file \"%1\" (%2). It starts with the "
                           "default settings instead, and keeps that file as \"%1.bak\" when it "
                           "saves its settings.")
                .arg(path_, error),
            MsgBoxStyle::Exclamation);
        break;
    case ReadOutcome::Read:
        if (bytes.isEmpty())
        {
            messages_.Show(QStringLiteral("The settings file \"%1\" is empty. Vantu starts with the default "
                                          "settings.")
                               .arg(path_),
                           MsgBoxStyle::Exclamation);
            break;
        }
        bool intact = true;
        settings = DecodeSettings(bytes, settings, &intact);
        settings.SettingsLoaded = True;
        if (!intact)
        {
            keepOriginal_ = true;
            messages_.Show(
                QStringLiteral("The settings file \"%1\" is damaged or incomplete. Vantu uses the "
                               "settings it holds and the defaults for the rest, and keeps that file "
                               "as \"%1.bak\" when it saves its settings.")
                    .arg(path_),
                MsgBoxStyle::Exclamation);
        }
        break;
    }
    ApplyDefaults(settings, appDirectory_, soundFile_);
}

void SettingsFile::SaveSettings(const SettingsRecord& settings)
{
    QString error;
    if (keepOriginal_)
    {
        const QString backup = path_ + QStringLiteral(".bak");
        if (::rename(QFile::encodeName(path_).constData(), QFile::encodeName(backup).constData()) != 0 &&
            errno != ENOENT)
        {
            ReportSaveFailure(
                QStringLiteral("Vantu did not save its settings: the settings file \"%1\" could "
                               "not be read in full, and it could not be kept as \"%2\" (%3). "
                               "Your settings stay in effect until Vantu ends.")
                    .arg(path_, backup, QString::fromLocal8Bit(std::strerror(errno))));
            return;
        }
        keepOriginal_ = false;
    }
    if (ReplaceFileContents(path_, EncodeSettings(settings), &error))
    {
        saveFailureShown_ = false;
        return;
    }
    ReportSaveFailure(QStringLiteral("Vantu could not save its settings to \"%1\" (%2). "
                                     "Your settings stay in effect until Vantu ends.")
                          .arg(path_, error));
}

void SettingsFile::ReportSaveFailure(const QString& message)
{
    if (saveFailureShown_)
        return;
    saveFailureShown_ = true;
    messages_.Show(message, MsgBoxStyle::Exclamation);
}

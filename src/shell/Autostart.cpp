#include "shell/Autostart.h"

#include "common/AtomicFile.h"
#include "ui/AppDirectory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

Autostart::Autostart(QString file, QString program) : file_(std::move(file)), program_(std::move(program)) {}

Autostart Autostart::OfThisProgram()
{
    return {AutostartFile(qEnvironmentVariable("XDG_CONFIG_HOME"), QDir::homePath()),
            AutostartProgram(ProgramPlaces::OfThisProgram(), QCoreApplication::applicationFilePath())};
}

QString AutostartFile(const QString& configHome, const QString& home)
{
    const QString base = QDir::isAbsolutePath(configHome) ? configHome : home + QStringLiteral("/.config");
    return QDir::cleanPath(base + QStringLiteral("/autostart/org.vantu.Vantu.desktop"));
}

QString AutostartProgram(const ProgramPlaces& places, const QString& executable)
{
    return IsInstalled(places) ? QFileInfo(executable).fileName() : QFileInfo(executable).absoluteFilePath();
}

QString ExecArgument(const QString& word)
{
    // Reserved characters ask for double quotes, inside which ", `, $ and \ are escaped; a percent
    // sign is always doubled, being a field code otherwise.
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString text = word;
    text.replace(QChar('%'), QStringLiteral("%%"));
    if (std::none_of(text.begin(), text.end(), [](QChar c) { return reserved.contains(c); }))
        return text;
    QString quoted;
    for (const QChar c : text)
    {
        if (c == QChar('"') || c == QChar('`') || c == QChar('$') || c == QChar('\\'))
            quoted += QChar('\\');
        quoted += c;
    }
    // The entry's own string rules then read each backslash as the escape of one.
    quoted.replace(QChar('\\'), QStringLiteral("\\\\"));
    return QChar('"') + quoted + QChar('"');
}

QByteArray Autostart::Entry() const
{
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=Vantu\n"
                                        "Comment=Start monitoring when I log in\n"
                                        "Exec=%1 --monitor --hidden\n"
                                        "Icon=vantu\n"
                                        "Terminal=false\n"
                                        "X-GNOME-Autostart-enabled=true\n")
                             .arg(ExecArgument(program_));
    return text.toUtf8();
}

bool Autostart::Enabled() const
{
    return QFileInfo::exists(file_);
}

bool Autostart::Enable(QString* error)
{
    const QString folder = QFileInfo(file_).absolutePath();
    if (!QDir().mkpath(folder))
    {
        *error = QStringLiteral("the folder %1 cannot be made").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    return ReplaceFileContents(file_, Entry(), error);
}

bool Autostart::Disable(QString* error)
{
    QFile file(file_);
    if (!file.exists() || file.remove())
        return true;
    *error = file.errorString();
    return false;
}

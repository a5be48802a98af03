#include "ui/AppDirectory.h"

#include "ui/InstallPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <system_error>
#include <unistd.h>

ProgramPlaces ProgramPlaces::OfThisProgram()
{
    const QString program = QCoreApplication::applicationDirPath();
    return {program, QDir::cleanPath(program + QStringLiteral("/" VANTU_RESOURCES_FROM_PROGRAM)),
            QDir::cleanPath(program + QStringLiteral("/" VANTU_MODULES_FROM_PROGRAM)),
            qEnvironmentVariable("XDG_DATA_HOME"), QDir::homePath()};
}

namespace
{
// The user's data folder: $XDG_DATA_HOME, which counts only as an absolute path, else ~/.local/share.
QString DataFolder(const ProgramPlaces& places)
{
    const QString base = QDir::isAbsolutePath(places.DataHome)
                             ? places.DataHome
                             : places.Home + QStringLiteral("/.local/share");
    return QDir::cleanPath(base + QStringLiteral("/vantu"));
}
} // namespace

AppDirectory::AppDirectory(ProgramPlaces places, const WritableTest& writable) : places_(std::move(places))
{
    path_ = !IsInstalled(places_) && writable(places_.ProgramFolder) ? places_.ProgramFolder
                                                                     : DataFolder(places_);
}

QString AppDirectory::Resource(const QString& name) const
{
    return FindProgramFile(places_, places_.ResourceFolder, name);
}

bool AppDirectory::Create(QString* error) const
{
    std::error_code code;
    const std::filesystem::path folder(QFile::encodeName(path_).toStdString());
    if (std::filesystem::create_directories(folder, code))
        // Settings hold the mail password: the folder is the user's alone, as the data folder should be.
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all, code);
    if (!code && std::filesystem::is_directory(folder, code))
        return true;
    *error = QStringLiteral("Vantu could not create the folder \"%1\" for its settings and pictures (%2).")
                 .arg(path_,
                      code ? QString::fromLocal8Bit(code.message().c_str()) : QStringLiteral("it is a file"));
    return false;
}

bool IsInstalled(const ProgramPlaces& places)
{
    return QFileInfo(places.ResourceFolder).isDir();
}

QString FindProgramFile(const ProgramPlaces& places, const QString& installedFolder, const QString& name)
{
    const QString beside = places.ProgramFolder + QChar('/') + name;
    const QString installed = installedFolder + QChar('/') + name;
    if (!QFileInfo::exists(beside) && QFileInfo::exists(installed))
        return installed;
    return beside;
}

QString ProgramModuleFile(const QString& name)
{
    const ProgramPlaces places = ProgramPlaces::OfThisProgram();
    return FindProgramFile(places, places.ModuleFolder, name);
}

bool FolderWritable(const QString& folder)
{
    return ::access(QFile::encodeName(folder).constData(), W_OK) == 0;
}

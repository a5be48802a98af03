#pragma once

#include <QString>
#include <functional>

// The folder the program keeps its files in (settings, log, capture set-up, pictures), without a
// trailing separator, and where it finds the read-only files it comes with.
class IAppDirectory
{
public:
    virtual ~IAppDirectory() = default;
    virtual QString Path() const = 0;

    // A fixed file name in the application directory, such as "Vantu.Dat".
    QString File(const QString& name) const { return Path() + QChar('/') + name; }

    // A read-only file that comes with the program, such as the help document or the default sound.
    virtual QString Resource(const QString& name) const { return File(name); }
};

// The folders the application directory and the program's own files are looked for in.
struct ProgramPlaces
{
    // The folder that holds the executable.
    QString ProgramFolder;
    // Where an installation puts the read-only files (help, sound, pictures) and the module.
    QString ResourceFolder;
    QString ModuleFolder;
    // $XDG_DATA_HOME, empty when it is not set, and the user's home folder.
    QString DataHome;
    QString Home;

    // The folders of this run: the installation folders lie at fixed places relative to the executable,
    // so that an installation under any prefix finds them.
    static ProgramPlaces OfThisProgram();
};

// Chooses at start where the program keeps its files. A build or a copied folder keeps them beside the
// program, as long as the program can write there. An installed program (its installed resource
// folder exists) and a program in a folder it cannot write keep them in the user's data folder,
// $XDG_DATA_HOME/vantu or ~/.local/share/vantu. An installed program never writes beside itself, even
// where it could (run by root, or installed under the home folder).
class AppDirectory final : public IAppDirectory
{
public:
    // Whether the program may create files in a folder.
    using WritableTest = std::function<bool(const QString& folder)>;

    AppDirectory(ProgramPlaces places, const WritableTest& writable);

    QString Path() const override { return path_; }
    // The copy beside the program, else the installed one.
    QString Resource(const QString& name) const override;

    // Whether the files live in the user's data folder rather than beside the program.
    bool InDataFolder() const { return path_ != places_.ProgramFolder; }

    // Creates the folder (and the folders above it) when it is missing; false with the reason when it
    // cannot.
    bool Create(QString* error) const;

private:
    ProgramPlaces places_;
    QString path_;
};

// Whether the program runs as installed: its installed resource folder exists.
bool IsInstalled(const ProgramPlaces& places);

// The file name beside the program when it is there, else in installedFolder when it is there,
// else beside the program (where a build or copied folder would have it).
QString FindProgramFile(const ProgramPlaces& places, const QString& installedFolder, const QString& name);

// The module file name of this run: beside the program, else in the installed module folder.
QString ProgramModuleFile(const QString& name);

// Whether the current user may create files in folder, as the kernel decides for this process.
bool FolderWritable(const QString& folder);

#pragma once

#include "common/KeyValueText.h"
#include "common/Options.h"

#include <QString>
#include <QStringList>

// "Vantu.Options" in the application directory: the options of the program beyond its classic
// behaviour. A missing file means every default; the file is written only when the user changes an
// option. Keys the program does not know are kept when the file is rewritten.
class OptionsFile
{
public:
    // Reads the file at path; bad values are kept as problems for the user to be told once. A relative
    // mask path is taken from the file's folder.
    explicit OptionsFile(QString path);

    QString Path() const { return path_; }
    const ProgramOptions& Current() const { return options_; }
    // The sentences about bad values read, each returned once.
    QStringList TakeProblems();

    // Writes options into the file, replacing it whole, and makes them current. False, with a plain
    // description in error, when the file could not be written; the options are current either way.
    bool Save(const ProgramOptions& options, QString* error);

private:
    QString path_;
    KeyValues values_;
    ProgramOptions options_;
    QStringList problems_;
};

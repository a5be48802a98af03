#pragma once

#include <QByteArray>
#include <QString>

struct ProgramPlaces;

// The desktop's autostart entry that starts the program monitoring, hidden, when the user logs in:
// "org.vantu.Vantu.desktop" in $XDG_CONFIG_HOME/autostart (else ~/.config/autostart). Whether it is on
// is whether the file is there.
class Autostart
{
public:
    // file: the entry's path; program: the program as the entry starts it.
    Autostart(QString file, QString program);
    // The entry of this program for this user.
    static Autostart OfThisProgram();

    QString File() const { return file_; }
    bool Enabled() const;
    // Writes the entry, making its folder; false with a plain description in error when it cannot.
    bool Enable(QString* error);
    // Removes the entry; false with a plain description in error when it stays.
    bool Disable(QString* error);

    // The entry's text.
    QByteArray Entry() const;

private:
    QString file_;
    QString program_;
};

// Where the entry goes: configHome ($XDG_CONFIG_HOME, used only when absolute), else home/.config.
QString AutostartFile(const QString& configHome, const QString& home);
// The program as the entry starts it: its name for an installed program, found on the path the
// desktop searches; the absolute path of the executable for a build or a copied folder.
QString AutostartProgram(const ProgramPlaces& places, const QString& executable);
// A word of an Exec line, quoted where the desktop entry rules ask for it.
QString ExecArgument(const QString& word);

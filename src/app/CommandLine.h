#pragma once

#include <QString>
#include <QStringList>

// What the program was asked to do on its command line.
struct CommandLine
{
    enum class Action
    {
        Run,
        // Print Text to standard output and end with status 0.
        Help,
        Version,
        // Print Text (the problem and the usage) to standard error and end with status 2.
        Bad,
    };
    Action What = Action::Run;
    // Enter Monitor mode as soon as the picture is live.
    bool Monitor = false;
    // Start in the notification area, or minimized where there is none.
    bool Hidden = false;
    QString Text;
};

// Reads the arguments, the program's name first.
CommandLine ReadCommandLine(const QStringList& arguments);

// Whether every option of arguments the program does not know is one of the options the toolkit takes
// for itself (such as -platform or -style), which are gone once the application object is made.
bool OnlyToolkitOptionsUnknown(const QStringList& arguments);

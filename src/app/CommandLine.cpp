#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <algorithm>

namespace
{
struct Parser
{
    Parser()
    {
        parser.setApplicationDescription(QStringLiteral("Vantu watches a room through a camera."));
        // "-platform" and the toolkit's other long options with one dash are read as one name.
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.addOption(monitor);
        parser.addOption(hidden);
    }

    QCommandLineParser parser;
    QCommandLineOption help = parser.addHelpOption();
    QCommandLineOption version = parser.addVersionOption();
    QCommandLineOption monitor{QStringLiteral("monitor"),
                               QStringLiteral("Start monitoring as soon as the picture is live; when Vantu "
                                              "already runs, tell it to start monitoring.")};
    QCommandLineOption hidden{QStringLiteral("hidden"),
                              QStringLiteral("Start in the notification area (minimized where there is "
                                             "none).")};
};

// The options the toolkit takes out of the arguments when the application object is made.
const QStringList ToolkitOptions{
    QStringLiteral("platform"),
    QStringLiteral("platformpluginpath"),
    QStringLiteral("platformtheme"),
    QStringLiteral("plugin"),
    QStringLiteral("qwindowgeometry"),
    QStringLiteral("qwindowicon"),
    QStringLiteral("qwindowtitle"),
    QStringLiteral("reverse"),
    QStringLiteral("session"),
    QStringLiteral("display"),
    QStringLiteral("geometry"),
    QStringLiteral("name"),
    QStringLiteral("title"),
    QStringLiteral("visual"),
    QStringLiteral("style"),
    QStringLiteral("stylesheet"),
    QStringLiteral("widgetcount"),
    QStringLiteral("qmljsdebugger"),
    QStringLiteral("nograb"),
    QStringLiteral("dograb"),
    QStringLiteral("sync"),
};
} // namespace

CommandLine ReadCommandLine(const QStringList& arguments)
{
    Parser p;
    CommandLine line;
    const QString name =
        arguments.isEmpty() ? QStringLiteral("vantu") : QFileInfo(arguments.front()).fileName();
    // The usage names the program as it was started, with or without the application object.
    const QString text = p.parser.helpText();
    const QString help =
        QStringLiteral("Usage: %1 [options]").arg(name) + text.mid(text.indexOf(QChar('\n')));
    if (!p.parser.parse(arguments))
    {
        line.What = CommandLine::Action::Bad;
        line.Text = name + QStringLiteral(": ") + p.parser.errorText() + QChar('\n') + help;
        return line;
    }
    if (p.parser.isSet(p.help))
    {
        line.What = CommandLine::Action::Help;
        line.Text = help;
        return line;
    }
    if (p.parser.isSet(p.version))
    {
        line.What = CommandLine::Action::Version;
        line.Text = QStringLiteral("Vantu 1.0\n");
        return line;
    }
    if (!p.parser.positionalArguments().isEmpty())
    {
        line.What = CommandLine::Action::Bad;
        line.Text = name + QStringLiteral(": unexpected argument '") +
                    p.parser.positionalArguments().front() + QStringLiteral("'\n") + help;
        return line;
    }
    line.Monitor = p.parser.isSet(p.monitor);
    line.Hidden = p.parser.isSet(p.hidden);
    return line;
}

bool OnlyToolkitOptionsUnknown(const QStringList& arguments)
{
    Parser p;
    p.parser.parse(arguments);
    const QStringList unknown = p.parser.unknownOptionNames();
    return !unknown.isEmpty() &&
           std::all_of(unknown.begin(), unknown.end(),
                       [](const QString& option) { return ToolkitOptions.contains(option); });
}

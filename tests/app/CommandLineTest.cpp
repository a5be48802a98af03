#include "app/CommandLine.h"

#include <gtest/gtest.h>

TEST(CommandLineTest, OptionsHelpVersionAndBadArgumentsAreTold)
{
    const struct
    {
        QStringList Arguments;
        CommandLine::Action What;
        bool Monitor;
        bool Hidden;
    } cases[] = {
        {{}, CommandLine::Action::Run, false, false},
        {{"--monitor", "--hidden"}, CommandLine::Action::Run, true, true},
        {{"--hidden"}, CommandLine::Action::Run, false, true},
        {{"--help"}, CommandLine::Action::Help, false, false},
        {{"-h"}, CommandLine::Action::Help, false, false},
        {{"--version"}, CommandLine::Action::Version, false, false},
        {{"--monitr"}, CommandLine::Action::Bad, false, false},
        {{"picture.bmp"}, CommandLine::Action::Bad, false, false},
    };
    for (const auto& c : cases)
    {
        const CommandLine line =
            ReadCommandLine(QStringList{QStringLiteral("/opt/vantu/vantu")} + c.Arguments);
        const std::string shown = c.Arguments.join(' ').toStdString();
        EXPECT_EQ(line.What, c.What) << shown;
        EXPECT_EQ(line.Monitor, c.Monitor) << shown;
        EXPECT_EQ(line.Hidden, c.Hidden) << shown;
        const bool usage = c.What == CommandLine::Action::Bad || c.What == CommandLine::Action::Help;
        EXPECT_EQ(line.Text.contains(QStringLiteral("Usage: vantu [options]")), usage) << shown;
    }
    EXPECT_TRUE(OnlyToolkitOptionsUnknown({"vantu", "-platform", "offscreen", "--monitor"}));
    EXPECT_FALSE(OnlyToolkitOptionsUnknown({"vantu", "-platform", "offscreen", "--monitr"}));
    EXPECT_FALSE(OnlyToolkitOptionsUnknown({"vantu", "extra"}));
}

#include "ui/AppDirectory.h"
#include "support/QtPrinters.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{
// A program folder, an installation's share and library folders, a data home and a home folder, in
// one temporary folder. The installation's folders exist only for an installed layout.
struct Layout
{
    explicit Layout(bool installed)
    {
        places = {root.filePath("prefix/bin"), root.filePath("prefix/share/vantu"),
                  root.filePath("prefix/lib/vantu"), root.filePath("data"), root.filePath("home")};
        QDir().mkpath(places.ProgramFolder);
        if (installed)
        {
            QDir().mkpath(places.ResourceFolder);
            QDir().mkpath(places.ModuleFolder);
        }
    }

    QTemporaryDir root;
    ProgramPlaces places;
};
} // namespace

TEST(AppDirectory, BesideAWritableProgramElseInTheUsersDataFolder)
{
    const struct
    {
        bool installed;
        bool writable;
        QString dataHome;
        QString expected;
    } cases[] = {
        {false, true, "data", "prefix/bin"},
        {false, true, "", "prefix/bin"},
        {false, false, "data", "data/vantu"},
        {false, false, "", "home/.local/share/vantu"},
        {false, false, "relative/data", "home/.local/share/vantu"},
        // Root may write anywhere, and a prefix in the home folder is writable: still the data folder.
        {true, true, "data", "data/vantu"},
        {true, false, "", "home/.local/share/vantu"},
    };
    for (const auto& c : cases)
    {
        Layout layout(c.installed);
        if (c.dataHome.startsWith(QStringLiteral("data")))
            layout.places.DataHome = layout.root.filePath(c.dataHome);
        else
            layout.places.DataHome = c.dataHome;
        QString asked;
        const AppDirectory directory(layout.places,
                                     [&](const QString& folder)
                                     {
                                         asked = folder;
                                         return c.writable;
                                     });
        EXPECT_EQ(directory.Path(), layout.root.filePath(c.expected))
            << "installed " << c.installed << ", writable " << c.writable << ", data home "
            << c.dataHome.toStdString();
        EXPECT_EQ(directory.InDataFolder(), !c.expected.startsWith(QStringLiteral("prefix")));
        if (!c.installed)
        {
            EXPECT_EQ(asked, layout.places.ProgramFolder);
        }
    }
}

TEST(AppDirectory, FindsTheProgramsOwnFilesBesideItElseWhereTheyWereInstalled)
{
    Layout copied(false);
    ASSERT_TRUE(WriteTestFile(copied.places.ProgramFolder + "/Vantu10.Hlp", "help"));
    const AppDirectory beside(copied.places, [](const QString&) { return true; });
    EXPECT_EQ(beside.Resource("Vantu10.Hlp"), copied.places.ProgramFolder + "/Vantu10.Hlp");
    EXPECT_EQ(beside.Resource("Notify.Wav"), copied.places.ProgramFolder + "/Notify.Wav")
        << "a file missing from a copied folder is named where it belongs";

    Layout installed(true);
    ASSERT_TRUE(WriteTestFile(installed.places.ResourceFolder + "/Notify.Wav", "RIFF"));
    ASSERT_TRUE(WriteTestFile(installed.places.ModuleFolder + "/libvantu_stream.so", "module"));
    const AppDirectory system(installed.places, [](const QString&) { return false; });
    EXPECT_EQ(system.Resource("Notify.Wav"), installed.places.ResourceFolder + "/Notify.Wav");
    EXPECT_EQ(FindProgramFile(installed.places, installed.places.ModuleFolder, "libvantu_stream.so"),
              installed.places.ModuleFolder + "/libvantu_stream.so");
    EXPECT_FALSE(system.Resource("Notify.Wav").startsWith(system.Path()))
        << "nothing is copied into the data folder";
}

TEST(AppDirectory, CreatesTheDataFolderForItsUserAloneOrSaysWhyItCannot)
{
    Layout layout(true);
    layout.places.DataHome = layout.root.filePath("data/deeper");
    const AppDirectory directory(layout.places, [](const QString&) { return false; });
    QString error;
    ASSERT_TRUE(directory.Create(&error)) << error.toStdString();
    EXPECT_TRUE(QFileInfo(directory.Path()).isDir());
    EXPECT_EQ(QFileInfo(directory.Path()).permissions().toInt() & 0x0077, 0) << "not readable by others";
    EXPECT_TRUE(directory.Create(&error)) << "an existing folder is used as it is";

    Layout blocked(true);
    ASSERT_TRUE(WriteTestFile(blocked.root.filePath("data"), "a file where the folder belongs"));
    blocked.places.DataHome = blocked.root.filePath("data");
    const AppDirectory nowhere(blocked.places, [](const QString&) { return false; });
    EXPECT_FALSE(nowhere.Create(&error));
    EXPECT_TRUE(error.contains(nowhere.Path())) << error.toStdString();
}

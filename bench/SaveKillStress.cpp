// Kills a process in the middle of saving the settings, again and again, and checks what it leaves.
//
//   SaveKillStress [--kills=N]     (1000 by default)
//
// A child process saves two different records in turn as fast as it can; the parent kills it with
// SIGKILL after a random moment. After every kill the settings file must load as one of the two
// records, whole, and after the next save no temporary file may be left in the folder. It prints
// "N kills, D damaged, L left over" and exits with status 1 when D or L is not 0.

#include "settings/SettingsCodec.h"
#include "settings/SettingsFile.h"
#include "ui/MessageBox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <random>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
class SilentBox final : public IMessageBox
{
public:
    MsgBoxResult Show(const QString& prompt, MsgBoxStyle, const QString&) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(prompt));
        return MsgBoxResult::Ok;
    }
};

SettingsRecord Record(int which)
{
    SettingsRecord r;
    r.MaxFiles = which;
    r.ImageDirectory = QString(which == 1 ? 300 : 7000, QChar('a' + which));
    r.EmailAddress = QStringLiteral("watch%1@example.org").arg(which);
    return r;
}

[[noreturn]] void SaveForever(const QString& folder)
{
    SilentBox box;
    SettingsFile file(folder, box);
    for (int i = 0;; ++i)
        file.SaveSettings(Record(1 + (i & 1)));
}

int KillsFromArguments(const QStringList& arguments)
{
    for (const QString& argument : arguments)
        if (argument.startsWith(QStringLiteral("--kills=")))
            return argument.mid(8).toInt();
    return 1000;
}
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const int kills = KillsFromArguments(QCoreApplication::arguments());
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Vantu.Dat"));
    SilentBox box;
    SettingsFile(folder.path(), box).SaveSettings(Record(1));

    const QByteArray first = EncodeSettings(Record(1));
    const QByteArray second = EncodeSettings(Record(2));
    std::mt19937 random(1);
    int damaged = 0;
    int leftOver = 0;
    int interrupted = 0;
    for (int kill = 0; kill < kills; ++kill)
    {
        const pid_t child = ::fork();
        if (child == 0)
            SaveForever(folder.path());
        ::usleep(200 + random() % 3000);
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);

        QFile file(path);
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        if (bytes != first && bytes != second)
            ++damaged;
        interrupted += static_cast<int>(QDir(folder.path()).entryList(QDir::Files).size()) - 1;
        SettingsFile(folder.path(), box).SaveSettings(Record(1));
        leftOver += static_cast<int>(QDir(folder.path()).entryList(QDir::Files).size()) - 1;
    }
    std::printf("%d kills, %d damaged, %d left over\n", kills, damaged, leftOver);
    std::printf("(%d kills left a temporary file that the next save removed)\n", interrupted);
    return damaged == 0 && leftOver == 0 ? 0 : 1;
}

#pragma once

#include "app/frmVantu.h"
#include "settings/SettingsCodec.h"
#include "support/Fakes.h"
#include "support/NotifyFakes.h"
#include "support/TestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <memory>

// A main window on fake platform services, with a temporary folder as its application directory.
class VantuHarness
{
public:
    VantuHarness() : appDirectory(dir.path()) {}

    // Writes a settings file before the window starts.
    void WriteSettings(const SettingsRecord& record)
    {
        WriteAppFile(QStringLiteral("Vantu.Dat"), EncodeSettings(record));
    }

    void WriteAppFile(const QString& name, const QByteArray& bytes) { WriteTestFile(AppFile(name), bytes); }
    QByteArray ReadAppFile(const QString& name) const { return ReadTestFile(AppFile(name)); }

    QString AppFile(const QString& name) const { return dir.path() + QChar('/') + name; }

    // Creates the window and runs its start-up sequence.
    template <typename Window = frmVantu> Window& Start()
    {
        auto created = std::make_unique<Window>(
            VantuPlatform{appDirectory, messages, clock, pointer, sound, mail, connection});
        Window& result = *created;
        window = std::move(created);
        window->Form_Load();
        return result;
    }

    frmVantu& Window() { return *window; }

    QTemporaryDir dir;
    FixedAppDirectory appDirectory;
    FakeMessageBox messages;
    FixedClock clock;
    FakePointer pointer;
    FakeSoundPlayer sound;
    FakeMailComponent mail;
    FakeNetworkConnection connection;
    std::unique_ptr<frmVantu> window;
};

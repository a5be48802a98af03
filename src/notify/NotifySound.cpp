#include "notify/NotifySound.h"
#include "notify/SoundPlayer.h"
#include "notify/WavDuration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>

namespace
{
// Enough of a file's start to hold its RIFF header and the chunk headers up to its sound data.
constexpr qint64 HeadBytes = 4096;
} // namespace

void PlayNotifySound(const QString& NotifyFile, ISoundPlayer& player)
{
    if (QFileInfo(NotifyFile).isFile())
        player.Play(NotifyFile);
}

QString SoundFileFilter()
{
    // File names are case-sensitive here, and "Notify.Wav" is the program's own spelling.
    return QStringLiteral("WAV sounds (*.wav *.Wav *.WAV);;All files (*)");
}

QString SoundFileProblem(const QString& path)
{
    if (path.trimmed().isEmpty())
        return QStringLiteral("No sound file is named.");
    const QString shown = QDir::toNativeSeparators(path);
    if (!QFileInfo(path).isFile())
        return QStringLiteral("\"%1\" is not a file, so it cannot be played.").arg(shown);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("\"%1\" cannot be read (%2).").arg(shown, file.errorString());
    const std::optional<WavHeader> header = ReadWavHeader(file.read(HeadBytes), file.size());
    if (!header)
        return QStringLiteral("\"%1\" is not a WAV sound file. Vantu plays WAV files only.").arg(shown);
    if (!WavPlayable(*header))
        return QStringLiteral("\"%1\" is a WAV file of a kind Vantu cannot play. Choose one of uncompressed "
                              "8, 16 or 32-bit sound.")
            .arg(shown);
    return {};
}

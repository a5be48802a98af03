#include "notify/QtSoundPlayer.h"
#include "notify/WavDuration.h"

#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>
#include <utility>

namespace
{
// Time beyond the file's own length that the sound service may take to start and finish it.
constexpr std::chrono::milliseconds StartAndFinish{300};

std::chrono::milliseconds PlayingTime(const QString& wavFile)
{
    QFile file(wavFile);
    if (!file.open(QIODevice::ReadOnly))
        return StartAndFinish;
    return WavDuration(file.read(4096), file.size()).value_or(std::chrono::milliseconds(0)) + StartAndFinish;
}
} // namespace

QtSoundPlayer::QtSoundPlayer(std::function<bool()> hasAudioOutput)
    : hasAudioOutput_(std::move(hasAudioOutput))
{
}

QtSoundPlayer::~QtSoundPlayer() = default;

void QtSoundPlayer::Play(const QString& wavFile)
{
    if (!Playing().isEmpty())
        return;
    if (!hasAudioOutput_())
    {
        if (!noOutputTold_)
            Tell(QStringLiteral(
                "No audio device: detection sounds cannot be played. Connect speakers or "
                "headphones, or switch Sound off on the Notification tab of View, Preferences."));
        noOutputTold_ = true;
        return;
    }
    length_ = PlayingTime(wavFile);
    started_.start();
    effect_ = std::make_unique<QSoundEffect>();
    effect_->setSource(QUrl::fromLocalFile(wavFile));
    effect_->play();
}

bool QtSoundPlayer::HasAudioOutput()
{
    return !QMediaDevices::audioOutputs().isEmpty();
}

QString QtSoundPlayer::Playing() const
{
    const bool playing = effect_ && effect_->isPlaying() && effect_->status() != QSoundEffect::Error &&
                         std::chrono::milliseconds(started_.elapsed()) < length_;
    return playing ? effect_->source().toLocalFile() : QString();
}

#pragma once

#include "notify/SoundPlayer.h"

#include <QElapsedTimer>
#include <chrono>
#include <functional>
#include <memory>

class QSoundEffect;

// Plays WAV files through the desktop's sound service (Qt Multimedia). Each sound gets an effect of its
// own, so that a file that cannot be played leaves nothing behind that could hold up the next sound.
// A sound counts as playing no longer than its file lasts (and a little more): without an audio
// device the effect never reports its end, and later sounds must still be played. Without any audio
// output a sound is not tried at all: the user is told once, instead of a warning for every sound.
class QtSoundPlayer final : public ISoundPlayer
{
public:
    // hasAudioOutput answers whether the machine has a device to play on now.
    explicit QtSoundPlayer(std::function<bool()> hasAudioOutput = HasAudioOutput);
    ~QtSoundPlayer() override;

    void Play(const QString& wavFile) override;

    // The file of the sound that plays now, or empty.
    QString Playing() const;

    // Whether the desktop's sound service lists an audio output device.
    static bool HasAudioOutput();

private:
    std::function<bool()> hasAudioOutput_;
    bool noOutputTold_ = false;
    std::unique_ptr<QSoundEffect> effect_;
    QElapsedTimer started_;
    std::chrono::milliseconds length_{0};
};

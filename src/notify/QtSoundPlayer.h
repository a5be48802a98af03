#pragma once

#include "notify/SoundPlayer.h"

// Plays WAV files through the desktop's sound service.
class QtSoundPlayer final : public ISoundPlayer
{
public:
    void Play(const QString& wavFile) override;
};

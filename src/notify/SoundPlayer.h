#pragma once

#include <QString>

// Plays the notification sound. Play returns at once while the sound plays in the background; a
// request that comes while a sound of ours still plays is dropped rather than cutting it short.
// A sound that cannot be played is skipped without a word and never blocks later requests.
class ISoundPlayer
{
public:
    virtual ~ISoundPlayer() = default;
    virtual void Play(const QString& wavFile) = 0;
};

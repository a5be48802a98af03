#pragma once

#include <QString>
#include <functional>
#include <utility>

// Plays the notification sound. Play returns at once while the sound plays in the background; a
// request that comes while a sound of ours still plays is dropped rather than cutting it short.
// A sound that cannot be played is skipped without a word and never blocks later requests; what
// keeps every sound from playing (no audio device) is told once through the notice.
class ISoundPlayer
{
public:
    virtual ~ISoundPlayer() = default;
    virtual void Play(const QString& wavFile) = 0;

    // Where the player tells the user something that needs no answer.
    void SetNotice(std::function<void(const QString& text)> notice) { notice_ = std::move(notice); }

protected:
    void Tell(const QString& text) const
    {
        if (notice_)
            notice_(text);
    }

private:
    std::function<void(const QString&)> notice_;
};

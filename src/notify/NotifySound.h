#pragma once

#include <QString>

class ISoundPlayer;

// Plays the notification sound when NotifyFile names an existing plain file; otherwise does nothing.
void PlayNotifySound(const QString& NotifyFile, ISoundPlayer& player);

// The file types the sound chooser offers, as an open-file dialog's filter.
QString SoundFileFilter();

// Why the file at path cannot be the notification sound, in words for the user; empty when it is a WAV
// sound the player can play.
QString SoundFileProblem(const QString& path);

#pragma once

#include <QString>

class ISoundPlayer;

// Plays the notification sound when NotifyFile names an existing plain file; otherwise does nothing.
void PlayNotifySound(const QString& NotifyFile, ISoundPlayer& player);

#include "notify/QtSoundPlayer.h"

void QtSoundPlayer::Play(const QString&) {}

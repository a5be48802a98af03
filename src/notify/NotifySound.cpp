#include "notify/NotifySound.h"
#include "notify/SoundPlayer.h"

#include <QFileInfo>

void PlayNotifySound(const QString& NotifyFile, ISoundPlayer& player)
{
    if (QFileInfo(NotifyFile).isFile())
        player.Play(NotifyFile);
}

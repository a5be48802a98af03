#pragma once

#include <QString>
#include <QStringList>

// The root folders of the volumes mounted on this machine that can hold files, in the order the
// volume list shows them.
QStringList MountedVolumes();

// Puts the root file system first and the volume of the home folder second; the others follow
// by name. Duplicates are dropped.
QStringList OrderVolumes(QStringList roots, const QString& home);

// The volume (out of roots) that holds path: the longest root that path lies in; empty when none.
QString VolumeOf(const QStringList& roots, const QString& path);

// Whether path is folder itself or lies inside it.
bool IsInFolder(const QString& path, const QString& folder);

// The folder itself when it exists, else its nearest parent that exists.
QString NearestExistingFolder(const QString& path);

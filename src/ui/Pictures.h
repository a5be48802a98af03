#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// Makes the pictures compiled into the program available; call once before using them.
void InitVantuResources();

// Draws one of the program's pictures (":/pictures/<name>.svg") at the given size in pixels.
QPixmap ProgramPicture(const QString& name, const QSize& size);

// The program's window icon.
QIcon ProgramIcon();

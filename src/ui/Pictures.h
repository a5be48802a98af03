#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

// Makes the pictures compiled into the program available; call once before using them.
void InitVantuResources();

// The scale of the sharpest screen: device pixels per device-independent pixel; 1 without a screen.
qreal ScreenScale();

// Draws one of the program's pictures (":/pictures/<name>.svg") at the given size in device-independent
// pixels, with devicePixelRatio device pixels to each, so that it stays sharp on a scaled screen.
QPixmap ProgramPicture(const QString& name, const QSize& size, qreal devicePixelRatio = ScreenScale());

// The program's window icon.
QIcon ProgramIcon();

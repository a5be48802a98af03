#pragma once

#include <QScrollArea>

// A window of its own that shows one picture at full size; a picture larger than the screen scrolls.
// It deletes itself when closed.
class PictureWindow final : public QScrollArea
{
    Q_OBJECT

public:
    PictureWindow(const QPixmap& picture, const QString& title, QWidget* owner);
};

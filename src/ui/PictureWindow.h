#pragma once

#include <QScrollArea>

class QKeyEvent;
class QLabel;
class QPixmap;
class QString;
class QWidget;

// A window of its own that shows one picture at full size; a picture larger than the screen scrolls.
// It opens centred on its owner, Esc closes it, and Left, Right, Page Up and Page Down ask for the
// previous or the next picture. It deletes itself when closed.
class PictureWindow final : public QScrollArea
{
    Q_OBJECT

public:
    PictureWindow(const QPixmap& picture, const QString& title, QWidget* owner);

    // Shows another picture in the same window.
    void ShowPicture(const QPixmap& picture, const QString& title);

signals:
    // -1 for the previous picture, +1 for the next.
    void StepRequested(int step);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* label_;
};

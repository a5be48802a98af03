#pragma once

#include <QLabel>

// A picture that fills its area as far as its proportions allow, centred. Without a picture it
// shows a note when one is set. A double click asks for the picture at full size.
class ScaledPicture final : public QLabel
{
    Q_OBJECT

public:
    explicit ScaledPicture(QWidget* parent = nullptr);

    // The note shown while there is no picture; empty for none.
    void SetEmptyNote(const QString& note);
    const QString& EmptyNote() const { return emptyNote_; }

    // Where the picture is drawn now: the largest rectangle of its proportions in the area.
    QRect PictureRect() const;

signals:
    void DoubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QString emptyNote_;
};

#pragma once

#include <QLabel>
#include <QStaticText>

class QTimer;

// A line of text laid over the bottom of a widget that tells the user something without asking for
// an answer; it goes away by itself after a while. It lies over the live picture, so it is drawn
// again with every frame: its text is laid out once, not at each drawing.
class Notice final : public QLabel
{
    Q_OBJECT

public:
    explicit Notice(QWidget* over);

    void ShowText(const QString& text, int milliseconds = 15000);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Place();

    QTimer* hide_;
    QStaticText laidOut_;
};

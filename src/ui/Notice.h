#pragma once

#include <QLabel>

class QTimer;

// A line of text laid over the bottom of a widget that tells the user something without asking for
// an answer; it goes away by itself after a while.
class Notice final : public QLabel
{
    Q_OBJECT

public:
    explicit Notice(QWidget* over);

    void ShowText(const QString& text, int milliseconds = 15000);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Place();

    QTimer* hide_;
};

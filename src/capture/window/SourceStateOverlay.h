#pragma once

#include "capture/driver/SourceState.h"

#include <QLabel>
#include <QTimer>

// The notice over the live view while the source gives no picture: a band of text across the middle
// of the window it covers, over the last frame or the empty view. Hidden while the source is live.
// The seconds until the next try count down.
class SourceStateOverlay final : public QLabel
{
    Q_OBJECT

public:
    explicit SourceStateOverlay(QWidget* view);

    void ShowState(const SourceState& state);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetNotice(const QString& text);
    void CountDown();
    void FitToView();

    SourceState shown_;
    QTimer countdown_;
};

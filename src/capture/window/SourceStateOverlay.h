#pragma once

#include <QLabel>

// The notice over the live view while the source gives no picture: a band of text across the middle
// of the window it covers, over the last frame or the empty view. Hidden while the text is empty.
class SourceStateOverlay final : public QLabel
{
    Q_OBJECT

public:
    explicit SourceStateOverlay(QWidget* view);

    void SetNotice(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FitToView();
};

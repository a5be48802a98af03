#pragma once

#include "ui/MessageBox.h"

#include <QObject>
#include <functional>

// The message boxes of the monitoring path. A box is shown after the handler that asked for it has
// returned, from the event loop, so that no frame is analysed inside a half-finished detection; and
// only one at a time: a box asked for while one is open or waiting is not shown. Frames keep arriving
// under an open box and are handled in full, and on an unattended machine each detection would
// otherwise stack one more box on the screen. Every box of this path only informs, so Show answers OK
// at once; Raise hands the user's answer to the caller once the box is closed.
class SessionBoxes final : public IMessageBox
{
public:
    // boxes shows the real box; context ends the waiting boxes when it is destroyed.
    SessionBoxes(IMessageBox& boxes, QObject& context) : boxes_(boxes), context_(context) {}

    MsgBoxResult Show(const QString& prompt, MsgBoxStyle style, const QString& title) override;

    // Shows the box when none is open or waiting, then calls answered with the user's answer; when
    // one is, calls answered with OK at once.
    void Raise(const QString& prompt, MsgBoxStyle style, const QString& title,
               std::function<void(MsgBoxResult)> answered);

    // A box is open or about to open.
    bool Busy() const { return busy_; }

private:
    IMessageBox& boxes_;
    QObject& context_;
    bool busy_ = false;
};

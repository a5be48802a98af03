#pragma once

#include "ui/MessageBox.h"

// Shows at most one box at a time. A box asked for while one of its boxes is still open is not
// shown and answers OK: detections go on arriving under an open box, and on an unattended machine
// each would otherwise stack one more box on the screen.
class OneBoxAtATime final : public IMessageBox
{
public:
    explicit OneBoxAtATime(IMessageBox& boxes) : boxes_(boxes) {}

    MsgBoxResult Show(const QString& prompt, MsgBoxStyle style, const QString& title) override
    {
        if (open_)
            return MsgBoxResult::Ok;
        open_ = true;
        const MsgBoxResult answer = boxes_.Show(prompt, style, title);
        open_ = false;
        return answer;
    }

private:
    IMessageBox& boxes_;
    bool open_ = false;
};

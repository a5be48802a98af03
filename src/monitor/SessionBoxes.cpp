#include "monitor/SessionBoxes.h"

#include <QMetaObject>

MsgBoxResult SessionBoxes::Show(const QString& prompt, MsgBoxStyle style, const QString& title)
{
    Raise(prompt, style, title, {});
    return MsgBoxResult::Ok;
}

void SessionBoxes::Raise(const QString& prompt, MsgBoxStyle style, const QString& title,
                         std::function<void(MsgBoxResult)> answered)
{
    if (busy_)
    {
        if (answered)
            answered(MsgBoxResult::Ok);
        return;
    }
    busy_ = true;
    QMetaObject::invokeMethod(
        &context_,
        [this, prompt, style, title, answered = std::move(answered)]
        {
            const MsgBoxResult answer = boxes_.Show(prompt, style, title);
            busy_ = false;
            if (answered)
                answered(answer);
        },
        Qt::QueuedConnection);
}

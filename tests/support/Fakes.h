#pragma once

#include "support/QtPrinters.h"
#include "ui/AppDirectory.h"
#include "ui/DateText.h"
#include "ui/MessageBox.h"
#include "ui/MousePointer.h"

#include <QString>
#include <deque>
#include <functional>
#include <vector>

// Records every message box and answers from a script (OK when the script is empty).
class FakeMessageBox final : public IMessageBox
{
public:
    struct Shown
    {
        QString Prompt;
        MsgBoxStyle Style;
        QString Title;
    };

    MsgBoxResult Show(const QString& prompt, MsgBoxStyle style, const QString& title) override
    {
        shown.push_back({prompt, style, title});
        if (onShow)
            onShow(shown.back());
        if (answers.empty())
            return MsgBoxResult::Ok;
        const MsgBoxResult answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<Shown> shown;
    std::deque<MsgBoxResult> answers;
    // Runs while the box is "open", as a modal box lets timers and frames through.
    std::function<void(const Shown&)> onShow;
};

class FixedClock final : public IClock
{
public:
    explicit FixedClock(QDateTime now = QDateTime(QDate(1999, 12, 7), QTime(15, 4, 5))) : now(std::move(now))
    {
    }
    QDateTime Now() const override { return now; }
    QDateTime now;
};

class FakePointer final : public IMousePointer
{
public:
    void SetPointer(PointerShape value) override { shape = value; }
    PointerShape Pointer() const override { return shape; }
    void SetCustomIcon(const QCursor&) override { customIconSet = true; }

    PointerShape shape = PointerShape::Default;
    bool customIconSet = false;
};

class FixedAppDirectory final : public IAppDirectory
{
public:
    explicit FixedAppDirectory(QString path) : path(std::move(path)) {}
    QString Path() const override { return path; }
    QString path;
};

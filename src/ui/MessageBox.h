#pragma once

#include <QString>

class QWidget;

// Styles and answers of a message box, with the values the program's texts are written against.
// A style combines one button set with one icon.
enum MsgBoxStyle : int
{
    OkOnly = 0,
    YesNo = 4,
    Critical = 16,
    Question = 32,
    Exclamation = 48,
    Information = 64
};

constexpr MsgBoxStyle operator|(MsgBoxStyle buttons, MsgBoxStyle icon)
{
    return static_cast<MsgBoxStyle>(static_cast<int>(buttons) | static_cast<int>(icon));
}

enum MsgBoxResult : int
{
    Ok = 1,
    Yes = 6,
    No = 7
};

// The caption of a box that has none of its own.
inline const QString ApplicationTitle = QStringLiteral("Vantu");

// A modal message box: shows the prompt and returns the button the user chose.
class IMessageBox
{
public:
    virtual ~IMessageBox() = default;
    virtual MsgBoxResult Show(const QString& prompt, MsgBoxStyle style = MsgBoxStyle::OkOnly,
                              const QString& title = {}) = 0;
};

// The real box: a modal QMessageBox over the active window.
class QtMessageBox final : public IMessageBox
{
public:
    MsgBoxResult Show(const QString& prompt, MsgBoxStyle style, const QString& title) override;
};

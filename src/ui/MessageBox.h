#pragma once

#include <QString>

class QWidget;

// Styles and answers of a message box, with the values the program's texts are written against.
namespace MsgBoxStyle
{
constexpr int OkOnly = 0;
constexpr int YesNo = 4;
constexpr int Critical = 16;
constexpr int Exclamation = 48;
constexpr int Information = 64;
} // namespace MsgBoxStyle

namespace MsgBoxResult
{
constexpr int Ok = 1;
constexpr int Yes = 6;
constexpr int No = 7;
} // namespace MsgBoxResult

// The caption of a box that has none of its own.
inline const QString ApplicationTitle = QStringLiteral("Vantu");

// A modal message box: shows the prompt and returns the button the user chose.
class IMessageBox
{
public:
    virtual ~IMessageBox() = default;
    virtual int Show(const QString& prompt, int style = MsgBoxStyle::OkOnly, const QString& title = {}) = 0;
};

// The real box: a modal QMessageBox over the active window.
class QtMessageBox final : public IMessageBox
{
public:
    int Show(const QString& prompt, int style, const QString& title) override;
};

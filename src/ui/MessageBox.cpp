#include "ui/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace
{
QMessageBox::Icon IconFor(MsgBoxStyle style)
{
    switch (style & 0x70)
    {
    case MsgBoxStyle::Critical:
        return QMessageBox::Critical;
    case MsgBoxStyle::Question:
        return QMessageBox::Question;
    case MsgBoxStyle::Exclamation:
        return QMessageBox::Warning;
    case MsgBoxStyle::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}
} // namespace

MsgBoxResult QtMessageBox::Show(const QString& prompt, MsgBoxStyle style, const QString& title)
{
    QString text = prompt;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QChar('\r'), QChar('\n'));

    QMessageBox box(IconFor(style), title.isEmpty() ? ApplicationTitle : title, text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    if ((style & 0x0F) == MsgBoxStyle::YesNo)
    {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? MsgBoxResult::Yes : MsgBoxResult::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MsgBoxResult::Ok;
}

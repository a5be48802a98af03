#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

class IMessageBox;
class QWidget;

// The help part of the common dialog control: a help file, a command and a request to show it.
// Help opens in a window of the program that shows the document as rich text.
class CommonDialog
{
public:
    static constexpr int cdlHelpIndex = 3;

    CommonDialog(IMessageBox& messages, QWidget* parent);
    ~CommonDialog();

    QString HelpFile;
    int HelpCommand = 0;

    // Shows the help file; for the index command at its index. Says so plainly when the file is missing.
    void ShowHelp();

    // The help window, while it is open.
    QDialog* HelpWindow() const { return window_; }

private:
    IMessageBox& messages_;
    QWidget* parent_;
    QPointer<QDialog> window_;
};

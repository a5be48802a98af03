#pragma once

#include <QDialog>
#include <QPointer>

// A dialog still running its own modal loop (a video error can end the program from inside it) is
// closed and deleted once that loop has returned.
template <typename Dialog> void UnloadDialog(QPointer<Dialog>& loaded)
{
    Dialog* dialog = loaded;
    loaded = nullptr;
    if (dialog == nullptr)
        return;
    if (dialog->isVisible())
    {
        dialog->done(QDialog::Rejected);
        dialog->deleteLater();
    }
    else
        delete dialog;
}

#pragma once

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <functional>

// Operates the next modal dialog of type Dialog that the code under test opens with exec(): operate
// runs inside the dialog's event loop and should accept or reject it. A dialog that operate leaves
// open (a failed assertion returns early) is rejected, and a different or missing dialog is rejected
// after a few seconds, so that a test fails instead of hanging.
template <typename Dialog> void OperateNextModal(std::function<void(Dialog&)> operate)
{
    auto* timer = new QTimer(qApp);
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer,
                     [timer, tries, operate = std::move(operate)]
                     {
                         QWidget* modal = QApplication::activeModalWidget();
                         if (auto* dialog = qobject_cast<Dialog*>(modal))
                         {
                             timer->deleteLater();
                             timer->stop();
                             const QPointer<Dialog> operated(dialog);
                             operate(*dialog);
                             if (operated && operated->isVisible())
                                 operated->reject();
                         }
                         else if (++*tries > 500)
                         {
                             timer->deleteLater();
                             timer->stop();
                             if (auto* other = qobject_cast<QDialog*>(modal))
                                 other->reject();
                         }
                     });
    timer->start(10);
}

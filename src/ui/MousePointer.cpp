#include "ui/MousePointer.h"

#include <QApplication>

void ScreenPointer::SetPointer(PointerShape shape)
{
    if (QApplication::overrideCursor() != nullptr)
        QApplication::restoreOverrideCursor();
    shape_ = shape;
    if (shape == PointerShape::Hourglass)
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else if (shape == PointerShape::Custom)
        QApplication::setOverrideCursor(custom_);
}

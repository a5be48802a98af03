#include "settings/FilePicker.h"

#include <QFileDialog>

QString PickOpenFileName(QWidget* parent)
{
    return QFileDialog::getOpenFileName(parent);
}

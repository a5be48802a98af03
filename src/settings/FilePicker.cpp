#include "settings/FilePicker.h"

#include <QFileDialog>

QString PickOpenFileName(QWidget* parent, const QString& folder, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, {}, folder, filter);
}

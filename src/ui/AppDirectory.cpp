#include "ui/AppDirectory.h"

#include <QCoreApplication>

QString ExecutableDirectory::Path() const
{
    return QCoreApplication::applicationDirPath();
}

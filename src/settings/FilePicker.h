#pragma once

#include <QString>

class QWidget;

// The standard open-file dialog with no filter, title or start folder of its own; an empty name
// when the user cancels.
QString PickOpenFileName(QWidget* parent);

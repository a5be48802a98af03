#pragma once

#include <QString>

class QWidget;

// The standard open-file dialog, opening in folder (its own choice when empty) and offering filter
// (";;"-separated "Name (*.ext)" entries; every file when empty); an empty name when the user cancels.
QString PickOpenFileName(QWidget* parent, const QString& folder, const QString& filter);

#pragma once

#include <QIcon>

// What the tray icon shows of the program.
enum class TrayState
{
    Preview,
    Monitoring,
    // Monitoring, with an event of detections going on.
    Event,
    // Monitoring, resting outside the schedule or with alerts paused.
    Resting,
    // No picture from the source.
    Lost,
};

// The program's icon marked for state: a green dot while monitoring, a red one during an event, a
// blue one while resting, and greyed with a yellow mark while there is no picture.
QIcon TrayStateIcon(const QIcon& base, TrayState state);

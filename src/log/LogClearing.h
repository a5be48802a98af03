#pragma once

#include <QString>

class IMessageBox;

// Asks whether to clear the log, then empties "Vantu.Log" in appDirectory to one empty line (the
// file the log writer adds to), and says what happened. A log that cannot be cleared is left as it
// was, and the user is told why.
void ClearLog(const QString& appDirectory, IMessageBox& messages);

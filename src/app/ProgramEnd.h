#pragma once

#include <QString>
#include <cstdio>

class SingleInstance;
class SmtpMailComponent;

// What the program does once its window has closed, in this order: it stops answering later starts,
// so that a new start runs at once, and then cancels the mail in flight (within a second), whose
// Failed("cancelled at exit") reaches the log before this returns.
void EndProgram(SingleInstance& instance, SmtpMailComponent& mail);

// Writes why the program ends with status 1 to the stream (standard error) as the one line
// "vantu: <reason>", so that a start from a terminal, a script or a desktop session's journal learns
// the reason even where no window could show it.
void WriteExitReason(std::FILE* stream, const QString& reason);

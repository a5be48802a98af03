#pragma once

#include <QtGlobal>

// Writes every byte to the file descriptor, going on after interruptions and short writes. False
// when it could not, with the system's error number in failure (ENOSPC for a write that stops
// without one).
bool WriteAll(int fd, const char* data, qsizetype size, int* failure);

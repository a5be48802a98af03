#include "common/WriteAll.h"

#include <cerrno>
#include <unistd.h>

bool WriteAll(int fd, const char* data, qsizetype size, int* failure)
{
    while (size > 0)
    {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
        {
            *failure = n < 0 ? errno : ENOSPC;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

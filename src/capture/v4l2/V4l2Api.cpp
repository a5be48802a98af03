#include "capture/v4l2/V4l2Api.h"

#include <cerrno>
#include <libv4l2.h>
#include <poll.h>

std::shared_ptr<const V4l2Api> RealV4l2Api()
{
    static const std::shared_ptr<const V4l2Api> api = []
    {
        auto table = std::make_shared<V4l2Api>();
        table->Open = [](const char* path, int flags) { return v4l2_open(path, flags); };
        table->Close = [](int fd) { return v4l2_close(fd); };
        table->Ioctl = [](int fd, unsigned long request, void* argument)
        { return v4l2_ioctl(fd, request, argument); };
        table->Mmap =
            [](void* start, std::size_t length, int protection, int flags, int fd, std::int64_t offset)
        { return v4l2_mmap(start, length, protection, flags, fd, offset); };
        table->Munmap = [](void* start, std::size_t length) { return v4l2_munmap(start, length); };
        table->Read = [](int fd, void* buffer, std::size_t size) -> std::ptrdiff_t
        { return v4l2_read(fd, buffer, size); };
        table->Poll = [](int fd, short events, int timeoutMs, short* revents)
        {
            pollfd entry{fd, events, 0};
            const int result = ::poll(&entry, 1, timeoutMs);
            *revents = entry.revents;
            return result;
        };
        return std::shared_ptr<const V4l2Api>(std::move(table));
    }();
    return api;
}

int V4l2Ioctl(const V4l2Api& api, int fd, unsigned long request, void* argument)
{
    int result;
    do
        result = api.Ioctl(fd, request, argument);
    while (result == -1 && errno == EINTR);
    return result;
}

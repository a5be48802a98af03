#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

// The device calls the camera driver makes, as a table so that tests can answer in the camera's place.
// Each call follows the libv4l2 convention: -1 (or MAP_FAILED) with errno set on failure.
struct V4l2Api
{
    std::function<int(const char* path, int flags)> Open;
    std::function<int(int fd)> Close;
    std::function<int(int fd, unsigned long request, void* argument)> Ioctl;
    std::function<void*(void* start, std::size_t length, int protection, int flags, int fd,
                        std::int64_t offset)>
        Mmap;
    std::function<int(void* start, std::size_t length)> Munmap;
    std::function<std::ptrdiff_t(int fd, void* buffer, std::size_t size)> Read;
    // Waits up to timeoutMs for events on fd; the events that occurred go into revents. 0 on a timeout.
    std::function<int(int fd, short events, int timeoutMs, short* revents)> Poll;
};

// The table that calls libv4l2 (and poll() for the wait).
std::shared_ptr<const V4l2Api> RealV4l2Api();

// An ioctl that is repeated while it is interrupted by a signal.
int V4l2Ioctl(const V4l2Api& api, int fd, unsigned long request, void* argument);

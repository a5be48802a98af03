#include "support/StreamHttpServer.h"

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

StreamHttpServer::StreamHttpServer(QByteArray body, Mode mode) : body_(std::move(body)), mode_(mode)
{
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener_ < 0)
        return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 8) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
    {
        ::close(listener_);
        listener_ = -1;
        return;
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread(&StreamHttpServer::Run, this);
}

StreamHttpServer::~StreamHttpServer()
{
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    if (listener_ >= 0)
        ::close(listener_);
}

bool StreamHttpServer::WaitReadable(int fd, int timeoutMs) const
{
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, timeoutMs) > 0;
}

void StreamHttpServer::Run()
{
    while (!stop_.load())
    {
        if (!WaitReadable(listener_, 20))
            continue;
        const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0)
            continue;
        Serve(connection);
        ::close(connection);
        if (mode_ == Mode::RefuseAfterFirst)
        {
            ::close(listener_);
            listener_ = -1;
            return;
        }
    }
}

bool StreamHttpServer::ReadRequest(int connection)
{
    QByteArray request;
    while (!request.contains("\r\n\r\n") && request.size() < 16384)
    {
        if (stop_.load() || !WaitReadable(connection, 2000))
            return false;
        char chunk[1024];
        const ssize_t got = ::recv(connection, chunk, sizeof chunk, 0);
        if (got <= 0)
            return false;
        request.append(chunk, got);
    }
    return true;
}

void StreamHttpServer::Serve(int connection)
{
    if (!ReadRequest(connection))
        return;
    QByteArray reply = "HTTP/1.0 200 OK\r\nContent-Type: video/mp2t\r\nConnection: close\r\n\r\n";
    reply += body_;
    qsizetype sent = 0;
    while (sent < reply.size() && !stop_.load())
    {
        const ssize_t wrote = ::send(connection, reply.constData() + sent,
                                     static_cast<size_t>(reply.size() - sent), MSG_NOSIGNAL);
        if (wrote <= 0)
            return;
        sent += wrote;
    }
    ++served_;
    if (mode_ == Mode::StallAfterBody)
        while (!stop_.load())
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

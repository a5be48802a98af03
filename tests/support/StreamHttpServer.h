#pragma once

#include <QByteArray>
#include <atomic>
#include <cstdint>
#include <thread>

// A small HTTP server on the loopback interface, on a thread of its own, that answers every request
// with one body: a network camera that the tests can drop, refuse or stall.
class StreamHttpServer
{
public:
    enum class Mode
    {
        CloseAfterBody,   // sends the body and closes the connection: the stream drops
        RefuseAfterFirst, // serves the first connection like CloseAfterBody, then stops listening
        StallAfterBody,   // sends the body and keeps the connection open without sending more
    };

    StreamHttpServer(QByteArray body, Mode mode);
    ~StreamHttpServer();
    StreamHttpServer(const StreamHttpServer&) = delete;
    StreamHttpServer& operator=(const StreamHttpServer&) = delete;

    // False when the server could not listen.
    bool Listening() const { return listener_ >= 0; }
    std::uint16_t Port() const { return port_; }
    // Connections whose request was answered so far.
    int Served() const { return served_.load(); }

private:
    void Run();
    void Serve(int connection);
    bool ReadRequest(int connection);
    bool WaitReadable(int fd, int timeoutMs) const;

    const QByteArray body_;
    const Mode mode_;
    int listener_ = -1;
    std::uint16_t port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> served_{0};
    std::thread thread_;
};

#pragma once

#include "capture/driver/CaptureDriver.h"

#include <QObject>
#include <functional>
#include <utility>
#include <vector>

// Records what a driver reports from its thread, received on the test's thread as the capture window
// receives it.
class StreamDriverEvents final : public QObject
{
public:
    explicit StreamDriverEvents(CaptureDriver& driver);

    bool HasNotice(int number) const;

    int Frames = 0;
    std::vector<std::pair<int, QString>> Notices;
    std::vector<std::pair<int, QString>> Errors;
};

// Handles the test thread's events until done() holds or timeoutMs pass; done()'s last answer.
bool StreamWaitUntil(const std::function<bool()>& done, int timeoutMs = 10000);

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
    // The state reported last; Connecting before any.
    SourceState State() const { return States.empty() ? SourceState{} : States.back(); }

    int Frames = 0;
    std::vector<std::pair<int, QString>> Notices;
    std::vector<std::pair<int, QString>> Errors;
    std::vector<SourceState> States;
};

// Opens the driver and waits until it is live or gave up for now; true when it was live.
bool StreamOpenSettled(CaptureDriver& driver, const StreamDriverEvents& events);

// Handles the test thread's events until done() holds or timeoutMs pass; done()'s last answer.
bool StreamWaitUntil(const std::function<bool()>& done, int timeoutMs = 10000);

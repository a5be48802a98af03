#pragma once

#include "common/DetectionEvent.h"

#include <QDateTime>
#include <QString>
#include <optional>

// Groups detections into events: a detection less than the gap after the one before belongs to the same
// event. A pure step function driven by the times it is given.
class EventTracker
{
public:
    explicit EventTracker(int gapSeconds) : gapSeconds_(gapSeconds) {}

    // The event going on, if any.
    const std::optional<DetectionEvent>& Current() const { return current_; }

    // Ends the event going on when its last detection is the gap or more before now; returns it then.
    std::optional<DetectionEvent> EndIfQuiet(const QDateTime& now);
    // Ends the event going on, whatever its time; returns it when there was one.
    std::optional<DetectionEvent> End();
    // A detection at when: ends a quiet event first (returned in ended), then starts a new event or adds
    // the detection to the one going on. True when it started an event.
    struct Step
    {
        bool Started = false;
        std::optional<DetectionEvent> Ended;
    };
    Step Detected(const QDateTime& when);
    // The picture the detection just counted saved; the event keeps the first.
    void PictureSaved(const QString& path);

    void SetGapSeconds(int gapSeconds) { gapSeconds_ = gapSeconds; }
    int GapSeconds() const { return gapSeconds_; }

private:
    int gapSeconds_;
    std::int32_t eventsStarted_ = 0;
    std::optional<DetectionEvent> current_;
};

// The log line of an ended event, without its ">".
QString EventLogLine(const DetectionEvent& event);

// The text of the message mailed when an event starts.
QString EventMailText(const DetectionEvent& event);

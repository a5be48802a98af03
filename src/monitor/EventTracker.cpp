#include "monitor/EventTracker.h"

#include "ui/DateText.h"

#include <utility>

std::optional<DetectionEvent> EventTracker::EndIfQuiet(const QDateTime& now)
{
    if (!current_ || current_->Last.msecsTo(now) < static_cast<qint64>(gapSeconds_) * 1000)
        return std::nullopt;
    return End();
}

std::optional<DetectionEvent> EventTracker::End()
{
    return std::exchange(current_, std::nullopt);
}

EventTracker::Step EventTracker::Detected(const QDateTime& when)
{
    Step step;
    step.Ended = EndIfQuiet(when);
    if (!current_)
    {
        current_ = DetectionEvent{++eventsStarted_, when, when, 0, std::nullopt};
        step.Started = true;
    }
    current_->Last = when;
    ++current_->Detections;
    return step;
}

void EventTracker::PictureSaved(const QString& path)
{
    if (current_ && !current_->FirstPicture)
        current_->FirstPicture = path;
}

QString EventLogLine(const DetectionEvent& event)
{
    return QStringLiteral("Event: %1 - %2, %3 detections")
        .arg(GeneralDate(event.Start), GeneralDate(event.Last))
        .arg(event.Detections);
}

QString EventMailText(const DetectionEvent& event)
{
    return QStringLiteral("Vantu saw movement at %1.\r\n\r\nThe picture attached is the first of this event; "
                          "more detections may follow.\r\n")
        .arg(GeneralDate(event.Start));
}

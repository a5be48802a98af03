#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>

// Detections close together in time, taken as one happening.
struct DetectionEvent
{
    // Counts the events of this run from 1.
    std::int32_t Number = 0;
    QDateTime Start;
    QDateTime Last;
    std::int32_t Detections = 0;
    // The first picture saved during the event, if any.
    std::optional<QString> FirstPicture;
};

#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>

// What the alerts tell of an event of detections.
struct EventAlert
{
    // Counts the events of this run from 1.
    std::int32_t Number = 0;
    QDateTime Start;
    QDateTime Last;
    std::int32_t Detections = 0;
    // The event's first picture; empty when none was saved.
    QString Picture;
};

#pragma once

#include "common/Flag.h"

#include <QString>
#include <cstdint>

// What a detection in Monitor mode does with its frame. The file limit is tested first.
enum class DetectionAction
{
    WriteImage,
    SaveDisabled,
    LimitReached
};

DetectionAction DecideDetection(std::int32_t storedFileCount, std::int32_t maxFiles, Flag saveImage);

// The outcomes a detection's log line ends with when no image was written.
inline const QString SaveDisabledOutcome = QStringLiteral("No image file written, Save Image Disabled.");
inline const QString LimitReachedOutcome = QStringLiteral("No image file written, exceeded Max Files!");
// With the reason the save failed: "No image file written, save failed: No space left on device!".
QString SaveFailedOutcome(const QString& reason);
// An event whose picture is saved already, when one picture per event is kept.
inline const QString EventPictureSavedOutcome =
    QStringLiteral("No image file written, the event's picture is saved already.");
inline const QString NoFreeNameOutcome = QStringLiteral("No image file written, no free file name left!");

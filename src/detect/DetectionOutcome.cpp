#include "detect/DetectionOutcome.h"

QString SaveFailedOutcome(const QString& reason)
{
    if (reason.isEmpty())
        return QStringLiteral("No image file written, save failed!");
    return QStringLiteral("No image file written, save failed: ") + reason + QChar('!');
}

DetectionAction DecideDetection(std::int32_t storedFileCount, std::int32_t maxFiles, Flag saveImage)
{
    if (!IsTrue(saveImage))
        return DetectionAction::SaveDisabled;
    return storedFileCount < maxFiles ? DetectionAction::WriteImage : DetectionAction::LimitReached;
}

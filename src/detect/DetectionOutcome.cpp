#include "detect/DetectionOutcome.h"

DetectionAction DecideDetection(std::int32_t storedFileCount, std::int32_t maxFiles, Flag saveImage)
{
    if (!IsTrue(saveImage))
        return DetectionAction::SaveDisabled;
    return storedFileCount < maxFiles ? DetectionAction::WriteImage : DetectionAction::LimitReached;
}

#include "detect/DetectionHandler.h"

#include "common/Options.h"
#include "common/SettingsRecord.h"
#include "detect/DetectionOutcome.h"
#include "ui/DateText.h"

DetectionHandler::DetectionHandler(const SettingsRecord& settings, const ProgramOptions& options,
                                   DetectionServices services)
    : settings_(settings), options_(options), services_(std::move(services))
{
}

DetectionResult DetectionHandler::Handle(bool monitoring, bool eventHasPicture)
{
    const SettingsRecord& s = settings_;
    if (IsTrue(s.SoundNotify))
        services_.NotifySound();
    if (!monitoring)
        return {};

    DetectionResult result;
    result.LogLine = QStringLiteral("Detection: ") + NowText(services_.Clock) + QStringLiteral(" : ");
    // Without saving, the count does not matter: the outcome is the same at any count.
    QString folderError;
    std::optional<std::int32_t> stored =
        IsTrue(s.SaveImage) ? services_.CountStoredImages(&folderError) : std::optional<std::int32_t>(0);
    DetectionAction action =
        stored ? DecideDetection(*stored, s.MaxFiles, s.SaveImage) : DetectionAction::SaveDisabled;
    const bool eventDone = eventHasPicture && options_.Pictures == EventPictures::First;
    if (action == DetectionAction::LimitReached && !eventDone &&
        options_.WhenFullAction == WhenFull::ReplaceOldest && s.MaxFiles > 0)
    {
        // The oldest pictures make room, so that the newest is always kept.
        const int excess = *stored - s.MaxFiles + 1;
        if (services_.DeleteOldestPictures(excess) == excess)
        {
            action = DetectionAction::WriteImage;
            stored = s.MaxFiles - 1;
        }
    }
    if (!stored)
        result.LogLine += SaveFailedOutcome(folderError);
    else if (action == DetectionAction::WriteImage && eventDone)
        result.LogLine += EventPictureSavedOutcome;
    else
        switch (action)
        {
        case DetectionAction::WriteImage:
            Save(*stored, result);
            break;
        case DetectionAction::SaveDisabled:
            result.LogLine += SaveDisabledOutcome;
            break;
        case DetectionAction::LimitReached:
            result.LogLine += LimitReachedOutcome;
            if (!limitNoticeShown_)
                services_.Notice(
                    QStringLiteral("File limit reached: no more pictures are saved (Max No. %1). "
                                   "The limit is set on the Detection tab of View, Preferences.")
                        .arg(s.MaxFiles));
            limitNoticeShown_ = true;
            break;
        }

    result.Counted = true;
    services_.ShowCount(++detectionCount_);
    services_.WriteLog(result.LogLine);
    return result;
}

void DetectionHandler::Save(std::int32_t storedFileCount, DetectionResult& result)
{
    if (QString error; !services_.RoomOnDisk(&error))
    {
        result.LogLine += SaveFailedOutcome(error);
        return;
    }
    const std::optional<QString> path = services_.NextImagePath(storedFileCount);
    if (!path)
    {
        result.LogLine += NoFreeNameOutcome;
        return;
    }
    if (QString error; !services_.SaveFrame(*path, &error))
    {
        result.LogLine += SaveFailedOutcome(error);
        if (!saveFailing_)
            services_.Notice(QStringLiteral("The picture could not be saved to %1: %2").arg(*path, error));
        saveFailing_ = true;
        return;
    }
    saveFailing_ = false;
    result.LogLine += *path + QStringLiteral(" written.");
    result.ImageFile = path;
    if (IsTrue(settings_.EmailNotify))
        services_.NotifyEmail(*path);
}

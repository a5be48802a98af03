#include "detect/DetectionHandler.h"

#include "common/SettingsRecord.h"
#include "detect/DetectionOutcome.h"
#include "ui/DateText.h"

DetectionHandler::DetectionHandler(const SettingsRecord& settings, DetectionServices services)
    : settings_(settings), services_(std::move(services))
{
}

DetectionResult DetectionHandler::Handle(bool monitoring)
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
    const std::optional<std::int32_t> stored =
        IsTrue(s.SaveImage) ? services_.CountStoredImages(&folderError) : std::optional<std::int32_t>(0);
    if (!stored)
        result.LogLine += SaveFailedOutcome(folderError);
    else
        switch (DecideDetection(*stored, s.MaxFiles, s.SaveImage))
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

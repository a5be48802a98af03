#include "capture/v4l2/V4l2DriverEntries.h"

#include "capture/v4l2/V4l2Devices.h"
#include "capture/v4l2/V4l2Driver.h"
#include "capture/v4l2/V4l2FormatDialog.h"
#include "capture/v4l2/V4l2SourceDialog.h"

std::vector<CaptureDriverEntry> V4l2DriverEntries(CaptureConfig& config, const QString& folder,
                                                  std::shared_ptr<const V4l2Api> api)
{
    std::vector<CaptureDriverEntry> entries;
    for (V4l2DeviceInfo& device : ListV4l2Devices(*api, folder))
    {
        CaptureDriverEntry entry;
        entry.Name = device.Card;
        entry.Version = device.Version;
        entry.Create = [api, device, &config]() -> std::unique_ptr<CaptureDriver>
        { return std::make_unique<V4l2Driver>(api, device, config); };
        entry.SourceDialog = DialogFor(&ShowV4l2SourceDialog);
        entry.FormatDialog = DialogFor(&ShowV4l2FormatDialog);
        entry.Key = QStringLiteral("v4l2/") + V4l2ConfigPrefix(device);
        entries.push_back(std::move(entry));
    }
    return entries;
}

#include "capture/stream/StreamDriverEntry.h"

#include "capture/driver/CaptureDriver.h"
#include "capture/stream/StreamLocation.h"
#include "capture/stream/StreamModule.h"
#include "capture/stream/StreamSettings.h"

#include <QtDebug>

CaptureDriverEntry StreamDriverEntry(CaptureConfig& config)
{
    const StreamSettings settings = LoadStreamSettings(config);
    return {StreamDriverName(settings.Location), QStringLiteral("1.0"),
            [&config]() -> std::unique_ptr<CaptureDriver>
            {
                QString error;
                const StreamModuleFunctions* module = LoadStreamModule(&error);
                if (module == nullptr)
                {
                    // The source is then missing from this installation; connecting it fails as
                    // for a camera that cannot be opened.
                    qWarning().noquote() << "Vantu:" << error;
                    return nullptr;
                }
                return module->CreateDriver(config);
            }};
}

bool StreamLocationSet(const CaptureConfig& config)
{
    return !LoadStreamSettings(config).Location.isEmpty();
}

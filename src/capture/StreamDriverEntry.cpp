#include "capture/StreamDriverEntry.h"

#include "capture/CaptureDriver.h"
#include "capture/StreamLocation.h"
#include "capture/StreamModule.h"
#include "capture/StreamSettings.h"

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

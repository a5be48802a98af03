#include "capture/stream/StreamDriverEntry.h"

#include "capture/driver/CaptureDriver.h"
#include "capture/stream/DeferredStreamDriver.h"
#include "capture/stream/StreamLocation.h"
#include "capture/stream/StreamModule.h"
#include "capture/stream/StreamSettings.h"

namespace
{
// One of the module's dialogs, for the module's driver inside the one the entry made.
CaptureDriverDialog ModuleDialog(CaptureDriverDialog StreamModuleFunctions::*dialog)
{
    return [dialog](CaptureDriver& driver, QWidget* parent, IMessageBox& messages)
    { static_cast<DeferredStreamDriver&>(driver).ShowDialog(dialog, parent, messages); };
}
} // namespace

CaptureDriverEntry StreamDriverEntry(CaptureConfig& config, const QString& modulePath)
{
    const StreamSettings settings = LoadStreamSettings(config);
    return {StreamDriverName(settings.Location),
            QStringLiteral("1.0"),
            [&config, modulePath]() -> std::unique_ptr<CaptureDriver>
            {
                const QString path = modulePath.isEmpty() ? StreamModuleFile() : modulePath;
                return std::make_unique<DeferredStreamDriver>(config, LoadedStreamModule(path),
                                                              [path](QString* error)
                                                              { return LoadStreamModule(path, error); });
            },
            ModuleDialog(&StreamModuleFunctions::SourceDialog),
            ModuleDialog(&StreamModuleFunctions::FormatDialog),
            QStringLiteral("stream")};
}

bool StreamLocationSet(const CaptureConfig& config)
{
    return !LoadStreamSettings(config).Location.isEmpty();
}

#include "capture/stream/StreamDriverEntry.h"

#include "capture/driver/CaptureDriver.h"
#include "capture/stream/StreamLocation.h"
#include "capture/stream/StreamModule.h"
#include "capture/stream/StreamSettings.h"

#include <QtDebug>

namespace
{
// The module's functions, or null after saying why it is missing from this installation.
const StreamModuleFunctions* Module()
{
    QString error;
    const StreamModuleFunctions* module = LoadStreamModule(&error);
    if (module == nullptr)
        qWarning().noquote() << "Vantu:" << error;
    return module;
}

// One of the module's dialogs. Its drivers come from the module, so it is loaded when one is shown.
CaptureDriverDialog ModuleDialog(CaptureDriverDialog StreamModuleFunctions::*dialog)
{
    return [dialog](CaptureDriver& driver, QWidget* parent, IMessageBox& messages)
    {
        if (const StreamModuleFunctions* module = Module())
            (module->*dialog)(driver, parent, messages);
    };
}
} // namespace

CaptureDriverEntry StreamDriverEntry(CaptureConfig& config)
{
    const StreamSettings settings = LoadStreamSettings(config);
    return {StreamDriverName(settings.Location),
            QStringLiteral("1.0"),
            [&config]() -> std::unique_ptr<CaptureDriver>
            {
                // Without the module the source is missing from this installation; connecting it
                // fails as for a camera that cannot be opened.
                const StreamModuleFunctions* module = Module();
                return module != nullptr ? module->CreateDriver(config) : nullptr;
            },
            ModuleDialog(&StreamModuleFunctions::SourceDialog),
            ModuleDialog(&StreamModuleFunctions::FormatDialog),
            QStringLiteral("stream")};
}

bool StreamLocationSet(const CaptureConfig& config)
{
    return !LoadStreamSettings(config).Location.isEmpty();
}

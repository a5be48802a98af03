// Feeds arbitrary bytes to the capture settings file "Vantu.Capture" and to what the sources read
// from it: the network camera's location and options, and the test scene's format.

#include "capture/driver/CaptureConfig.h"
#include "capture/scene/TestSceneFormat.h"
#include "capture/stream/StreamSettings.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const CaptureConfig config(QStringLiteral("Vantu.Capture"),
                               QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    LoadStreamSettings(config);
    ParseTestSceneFormat(config.Value(TestSceneFormatKey));
    return 0;
}

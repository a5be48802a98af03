// Feeds arbitrary bytes to the settings reader, as a damaged or hostile "Vantu.Dat" would.

#include "settings/SettingsCodec.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    bool intact = false;
    const SettingsRecord record = DecodeSettings(bytes, {}, &intact);
    // What was read must encode again: texts of any content, numbers of any value.
    EncodeSettings(record);
    return 0;
}

#include "capture/driver/CaptureDriverList.h"

namespace
{
std::shared_ptr<CaptureDriverList>& Installed()
{
    static std::shared_ptr<CaptureDriverList> drivers;
    return drivers;
}
} // namespace

void InstallCaptureDrivers(std::shared_ptr<CaptureDriverList> drivers)
{
    Installed() = std::move(drivers);
}

std::vector<CaptureDriverEntry> EnumerateCaptureDrivers()
{
    if (!Installed())
        return {};
    std::vector<CaptureDriverEntry> entries = Installed()->Enumerate();
    if (entries.size() > static_cast<std::size_t>(CaptureDriverList::MaxDrivers))
        entries.resize(CaptureDriverList::MaxDrivers);
    return entries;
}

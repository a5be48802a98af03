#include "capture/driver/CaptureDriverList.h"

namespace
{
std::shared_ptr<CaptureDriverList>& Installed()
{
    static std::shared_ptr<CaptureDriverList> drivers;
    return drivers;
}
} // namespace

QString CaptureDriverKey(const CaptureDriverEntry& entry)
{
    return entry.Key.isEmpty() ? entry.Name : entry.Key;
}

int FindCaptureDriver(const std::vector<CaptureDriverEntry>& entries, const QString& key)
{
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (CaptureDriverKey(entries[i]) == key)
            return static_cast<int>(i);
    return -1;
}

void InstallCaptureDrivers(std::shared_ptr<CaptureDriverList> drivers)
{
    Installed() = std::move(drivers);
}

CaptureConfig* InstalledCaptureConfig()
{
    return Installed() ? Installed()->Settings() : nullptr;
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

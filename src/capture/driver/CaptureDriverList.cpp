#include "capture/driver/CaptureDriverList.h"
#include "capture/driver/CaptureConfig.h"

#include <algorithm>

namespace
{
std::shared_ptr<CaptureDriverList>& Installed()
{
    static std::shared_ptr<CaptureDriverList> drivers;
    return drivers;
}

// The key of the driver to put first; empty for none.
QString& FirstKey()
{
    static QString key;
    return key;
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
    const CaptureConfig* config = InstalledCaptureConfig();
    FirstKey() = config != nullptr ? config->Value(QString::fromLatin1(ChosenDriverKey)) : QString();
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
    if (const int chosen = FirstKey().isEmpty() ? -1 : FindCaptureDriver(entries, FirstKey()); chosen > 0)
        std::rotate(entries.begin(), entries.begin() + chosen, entries.begin() + chosen + 1);
    if (entries.size() > static_cast<std::size_t>(CaptureDriverList::MaxDrivers))
        entries.resize(CaptureDriverList::MaxDrivers);
    return entries;
}

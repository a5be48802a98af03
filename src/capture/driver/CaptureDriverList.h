#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <vector>

class CaptureDriver;

// One installed driver: its description and how to make an instance of it.
struct CaptureDriverEntry
{
    QString Name;
    QString Version;
    std::function<std::unique_ptr<CaptureDriver>()> Create;
};

// The drivers installed on the machine, in driver-index order. Enumerated afresh on each request,
// so that a camera plugged in later appears.
class CaptureDriverList
{
public:
    static constexpr int MaxDrivers = 10;

    virtual ~CaptureDriverList() = default;
    virtual std::vector<CaptureDriverEntry> Enumerate() = 0;
};

// The list that capGetDriverDescriptionA and driver connection use. Empty until the program (or a
// test) installs one.
void InstallCaptureDrivers(std::shared_ptr<CaptureDriverList> drivers);
std::vector<CaptureDriverEntry> EnumerateCaptureDrivers();

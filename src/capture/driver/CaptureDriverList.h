#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <vector>

class CaptureConfig;
class CaptureDriver;
class IMessageBox;
class QWidget;

// One of a driver's own modal dialogs, shown over parent for a driver that its entry created. What
// goes wrong is reported through messages. A dialog may change the driver's frame size.
using CaptureDriverDialog =
    std::function<void(CaptureDriver& driver, QWidget* parent, IMessageBox& messages)>;

// The dialog show(driver, parent, messages) of one driver type. The entry that registers it creates
// only drivers of that type, so the driver it is given is one.
template <typename Driver> CaptureDriverDialog DialogFor(void (*show)(Driver&, QWidget*, IMessageBox&))
{
    return [show](CaptureDriver& driver, QWidget* parent, IMessageBox& messages)
    { show(static_cast<Driver&>(driver), parent, messages); };
}

// One installed driver: its description, how to make an instance of it and its dialogs (empty for a
// driver without that dialog).
struct CaptureDriverEntry
{
    QString Name;
    QString Version;
    std::function<std::unique_ptr<CaptureDriver>()> Create;
    CaptureDriverDialog SourceDialog;
    CaptureDriverDialog FormatDialog;
    // What identifies the driver whatever its place in the list: a camera keeps its key when others
    // are plugged in or removed. Empty when the name does.
    QString Key;
};

// The key of entry: its own, or its name.
QString CaptureDriverKey(const CaptureDriverEntry& entry);
// The place of the entry with key in entries; -1 when there is none.
int FindCaptureDriver(const std::vector<CaptureDriverEntry>& entries, const QString& key);

// The drivers installed on the machine, in driver-index order. Enumerated afresh on each request,
// so that a camera plugged in later appears.
class CaptureDriverList
{
public:
    static constexpr int MaxDrivers = 10;

    virtual ~CaptureDriverList() = default;
    virtual std::vector<CaptureDriverEntry> Enumerate() = 0;
    // The capture settings the drivers keep ("Vantu.Capture"); null for a list without them.
    virtual CaptureConfig* Settings() { return nullptr; }
};

// The key of the driver the user chose last, kept in the capture settings ("Vantu.Capture").
inline constexpr char ChosenDriverKey[] = "source/driver";

// The list that capGetDriverDescriptionA and driver connection use. Empty until the program (or a
// test) installs one. The driver chosen last, as the list's capture settings hold it when the list is
// installed, comes first while it is present, so that the start connects it; the others keep their
// order. The remembered key is read only here, so the indexes stay the same for the whole run.
void InstallCaptureDrivers(std::shared_ptr<CaptureDriverList> drivers);
std::vector<CaptureDriverEntry> EnumerateCaptureDrivers();
// The installed list's capture settings; null without them.
CaptureConfig* InstalledCaptureConfig();

#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class CaptureWindow;
class IMessageBox;
class ISoundPlayer;
class QWidget;
struct ProgramOptions;
struct SettingsRecord;

// What the preferences dialog reaches of the program around it.
struct PreferencesLinks
{
    SettingsRecord& Settings;
    CaptureWindow* CaptureWindowHandle;
    std::function<void()> SaveSettings;
    std::function<void()> ResizeCaptureWindow;
    // Shows the driver selection dialog modally and returns when it is closed.
    std::function<void()> ShowSelect;
    IMessageBox& Messages;
    // The folder that holds "Vantu.Log", without a trailing separator.
    QString AppDirectory;
    // Asks the user for a file to open, starting in folder and offering filter (as PickOpenFileName);
    // an empty name when the user cancels.
    std::function<QString(QWidget* parent, const QString& folder, const QString& filter)> PickFile;
    // The root folders of the mounted volumes, in the order the volume list shows them.
    std::function<QStringList()> Volumes;
    // Plays the notification sound when the user asks to hear it.
    ISoundPlayer& Sound;
    // The options beyond the classic behaviour, changed at once by their controls and written by
    // SaveOptions.
    ProgramOptions& Options;
    std::function<void()> SaveOptions;
};

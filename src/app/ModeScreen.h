#pragma once

#include "monitor/Mode.h"

#include <QString>
#include <cstdint>
#include <optional>

// The status pictures the main window can show.
enum class StatusPicture
{
    Initial,
    Preview,
    Monitor,
    Tune
};

// Everything on the main window that a mode sets. An empty optional keeps what was there before.
struct ModeScreen
{
    std::optional<QString> ActionText; // status panel 1
    QString ModeText;                  // status panel 2
    std::optional<StatusPicture> Picture;
    std::optional<bool> LiveViewVisible; // imgStatus and Frame1
    std::optional<bool> BrowserVisible;  // filDetections and picDetection
    bool DetectionInfoVisible = false;
    bool DetectionMenuVisible = false;
    std::optional<bool> PreviewChecked;
    std::optional<bool> MonitorChecked;
    std::optional<bool> MonitorEnabled;
    std::optional<bool> DetectionsChecked;
    std::optional<bool> DetectionsEnabled;
    std::optional<bool> FineTuneChecked;
    std::optional<bool> FineTuneEnabled;
    bool PreferencesEnabled = true;
    bool HideEnabled = false;
    bool LogFileEnabled = true;
    bool ExitEnabled = true;
    // The detector starts a new baseline: the meter starts empty.
    bool RestartDetector = false;
    // The change meter shows each compared frame.
    bool MeterVisible = false;
    // The live view takes the size of the video format.
    bool SizeFromVideo = false;
    // The window shrinks to the size of the image browser, whose picture starts empty.
    bool BrowserSize = false;
};

// The screen of a mode; an unknown mode gets the settings common to every mode and an error text.
ModeScreen ScreenForMode(Mode mode);

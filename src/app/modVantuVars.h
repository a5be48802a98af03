#pragma once

#include "common/SettingsRecord.h"
#include "monitor/Mode.h"

#include <QString>
#include <cstdint>

class CaptureWindow;

// The program's shared state: the persisted settings, the operating mode and the capture window.
struct modVantuVars
{
    SettingsRecord Settings;
    // Set only by ChangeMode; 0 until start-up enters Preview.
    Mode CurrentMode = ModeFineTune;
    // The action text of the status bar as it was just before the last mode change.
    QString PreviousActionText;
    CaptureWindow* CaptureWindowHandle = nullptr;
};

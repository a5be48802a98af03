#pragma once

#include "common/SettingsRecord.h"

#include <QString>
#include <cstdint>

class CaptureWindow;

// Operating modes.
constexpr std::int16_t ModeFineTune = 0;
constexpr std::int16_t ModePreview = 1;
constexpr std::int16_t ModeView = 2;
constexpr std::int16_t ModeMonitor = 3;

// The program's shared state: the persisted settings, the operating mode and the capture window.
struct modVantuVars
{
    SettingsRecord Settings;
    // Set only by ChangeMode; 0 until start-up enters Preview.
    std::int16_t CurrentMode = 0;
    // The action text of the status bar as it was just before the last mode change.
    QString PreviousActionText;
    CaptureWindow* CaptureWindowHandle = nullptr;
};

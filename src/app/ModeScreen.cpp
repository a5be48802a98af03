#include "app/ModeScreen.h"

#include "app/modVantuVars.h"

ModeScreen ScreenForMode(Mode mode)
{
    ModeScreen s;
    switch (mode)
    {
    case ModeFineTune:
        s.ActionText = QStringLiteral("Tuning...");
        s.ModeText = QStringLiteral("Fine Tune Mode");
        s.Picture = StatusPicture::Initial;
        s.FineTuneChecked = true;
        s.FineTuneEnabled = true;
        s.DetectionsEnabled = false;
        s.MonitorEnabled = false;
        s.PreferencesEnabled = false;
        s.RestartDetector = true;
        s.MeterVisible = true;
        break;
    case ModePreview:
        s.ActionText = QStringLiteral("Previewing...");
        s.ModeText = QStringLiteral("Preview Mode");
        s.Picture = StatusPicture::Preview;
        s.DetectionsChecked = false;
        s.DetectionsEnabled = true;
        s.PreviewChecked = true;
        s.MonitorChecked = false;
        s.BrowserVisible = false;
        s.LiveViewVisible = true;
        s.FineTuneEnabled = true;
        s.SizeFromVideo = true;
        break;
    case ModeView:
        s.ActionText = QStringLiteral("Viewing...");
        s.ModeText = QStringLiteral("View Mode");
        s.DetectionInfoVisible = true;
        s.PreferencesEnabled = false;
        s.DetectionMenuVisible = true;
        s.PreviewChecked = false;
        s.DetectionsChecked = true;
        s.MonitorChecked = false;
        s.LiveViewVisible = false;
        s.BrowserVisible = true;
        s.FineTuneEnabled = false;
        s.BrowserSize = true;
        break;
    case ModeMonitor:
        s.ModeText = QStringLiteral("Monitor Mode");
        s.Picture = StatusPicture::Initial;
        s.DetectionsChecked = false;
        s.PreviewChecked = false;
        s.MonitorChecked = true;
        s.BrowserVisible = false;
        s.LiveViewVisible = true;
        s.FineTuneEnabled = false;
        s.DetectionsEnabled = false;
        s.PreferencesEnabled = false;
        s.LogFileEnabled = false;
        s.ExitEnabled = false;
        s.HideEnabled = true;
        s.RestartDetector = true;
        s.MeterVisible = true;
        s.SizeFromVideo = true;
        break;
    default:
        s.ActionText = QStringLiteral("Mode Error!");
        s.ModeText = QStringLiteral("Unknown Mode");
        break;
    }
    return s;
}

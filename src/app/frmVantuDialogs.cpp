// The preferences and driver selection dialogs as the main window loads and unloads them.

#include "app/frmVantu.h"
#include "capture/modAVICAP.h"
#include "capture/window/CaptureWindow.h"
#include "settings/FilePicker.h"
#include "settings/Volumes.h"
#include "ui/AppDirectory.h"
#include "ui/StatusPanels.h"
#include "ui/UnloadDialog.h"
void frmVantu::mnuPreferences_Click()
{
    frmPreferences& preferences = LoadPreferences();
    // A dialog loaded hidden earlier shows the values of now, not those of its loading.
    preferences.Form_Load();
    preferences.exec();
    UnloadPreferences();
}

frmPreferences& frmVantu::LoadPreferences()
{
    if (!preferences_)
    {
        preferences_ = new frmPreferences(
            {Vars.Settings, Vars.CaptureWindowHandle, [this] { SaveSettings(); },
             [this] { ResizeCaptureWindow(Vars.CaptureWindowHandle); }, [this] { ShowSelect(); },
             platform_.Messages, platform_.AppDirectory.Path(), PickOpenFileName, MountedVolumes,
             platform_.Sound, options_, [this] { SaveOptions(); }},
            this);
        preferences_->Form_Load();
        CAPDRIVERCAPS caps{};
        if (IsTrue(capDriverGetCaps(Vars.CaptureWindowHandle, &caps, sizeof caps)))
            preferences_->DisableMissingDriverDialogs(caps);
    }
    return *preferences_;
}

void frmVantu::UnloadPreferences()
{
    if (preferences_)
        preferences_->Form_Unload();
    UnloadDialog(preferences_);
}

void frmVantu::ShowSelect()
{
    if (!select_)
    {
        select_ = new frmSelect(Vars.CaptureWindowHandle, this);
        connect(select_, &frmSelect::DriverSelected, this, &frmVantu::SelectDriver_Selected);
        select_->Form_Load();
    }
    select_->exec();
    UnloadSelect();
}

void frmVantu::SelectDriver_Selected(const QString& name, const CAPDRIVERCAPS& caps)
{
    Vars.Settings.DeviceName = name;
    frmPreferences& preferences = LoadPreferences();
    preferences.DisableMissingDriverDialogs(caps);
    preferences.EnablePresentDriverDialogs(caps);
    preferences.ShowDeviceName(name);
    // A driver chosen after the first one could not start shows its picture at once.
    CaptureWindow* lwnd = Vars.CaptureWindowHandle;
    if (!IsTrue(capPreview(lwnd, True)))
        return;
    capPreviewScale(lwnd, True);
    capPreviewRate(lwnd, 1);
    lwnd->RestoreDisplayOptions();
    ResizeCaptureWindow(lwnd);
    if (Vars.CurrentMode == ModePreview && ui.StatusBar1->Text(1) == QStringLiteral("Initializing..."))
        ui.StatusBar1->SetText(1, QStringLiteral("Previewing..."));
}

void frmVantu::UnloadSelect()
{
    UnloadDialog(select_);
}

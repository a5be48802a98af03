#pragma once

#include "app/ModeScreen.h"

struct frmVantuUi;

// The main window's controls as a situation wants them: a mode's screen, a status picture and the
// fine tuning controls beside the live view.

// Sets everything a mode shows and enables.
void ShowModeScreen(frmVantuUi& ui, const ModeScreen& screen);
void ShowStatusPicture(frmVantuUi& ui, StatusPicture picture);
// The slider's frame beside the live view, the meter beside the slider and the labels of its ends.
void PlaceTuningControls(frmVantuUi& ui);
void SetTuningVisible(frmVantuUi& ui, bool visible);

#pragma once

#include "app/ModeScreen.h"

#include <vector>

class QWidget;

struct frmVantuUi;

// The main window's controls as a situation wants them: a mode's screen, a status picture and the
// fine tuning controls beside the live view.

// Sets everything a mode shows and enables.
void ShowModeScreen(frmVantuUi& ui, const ModeScreen& screen);
void ShowStatusPicture(frmVantuUi& ui, StatusPicture picture);
// The change meter and, while fine tuning is shown, the slider's frame and the labels of its ends:
// the meter alone stands between the status picture and the live view; the slider, the meter beside
// it and the labels stand in a column right of the live view.
void PlaceTuningControls(frmVantuUi& ui);
// Shows or hides the slider's frame and the labels, and places the tuning controls again.
void SetTuningVisible(frmVantuUi& ui, bool visible);
// The width the tuning column adds right of the live view; 0 while fine tuning is hidden.
int TuningColumnWidth(const frmVantuUi& ui);
// The mask's controls of the tuning column that were made.
std::vector<QWidget*> MaskControls(const frmVantuUi& ui);

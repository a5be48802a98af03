#pragma once

#include <QString>

// Where the monitoring path stands, as the status bar's action panel tells it.
enum class MonitorPhase
{
    Idle,         // Preview or View: frames are not analysed
    Initializing, // the detector learns its baseline
    Monitoring,   // Monitor mode compares every frame
    Tuning,       // Fine Tune compares every frame and only plays the sound
    Emailing      // a detection image is on its way to the mail server
};

// The action text of a phase; empty for Idle, whose text is the mode's own.
QString PhaseText(MonitorPhase phase);

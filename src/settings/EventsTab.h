#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QSpinBox;
struct PreferencesLinks;

// The "Events" tab: the pictures' format, what happens when the folder or the disk is full, and what
// an event (detections close together) brings: its pictures, its mail, its log line and its clip.
// Each change goes into the options and is written at once.
class EventsTab final : public QWidget
{
    Q_OBJECT

public:
    EventsTab(PreferencesLinks& links, QWidget* parent);

    QComboBox* cmboFormat;
    QSpinBox* txtJpegQuality;
    QComboBox* cmboWhenFull;
    QSpinBox* txtKeepFree;
    QSpinBox* txtGap;
    QComboBox* cmboPictures;
    QComboBox* cmboMail;
    QCheckBox* chkLogEvents;
    QCheckBox* chkClips;
    QSpinBox* txtPreSeconds;
    QSpinBox* txtPostSeconds;

private:
    // Takes every control's value into the options and writes them.
    void Apply();
    // Enables the controls that matter for the choices made.
    void Enable();

    PreferencesLinks& links_;
};

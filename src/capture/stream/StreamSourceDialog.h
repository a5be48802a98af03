#pragma once

#include "capture/stream/StreamSettings.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Tries the chosen settings before the dialog closes: false, with a plain description in error, when
// the source cannot be used.
using StreamSourceCheck = std::function<bool(const StreamSettings& chosen, QString* error)>;
// Asks the user for a video file, starting in the folder given; empty when the user cancels.
using StreamFilePicker = std::function<QString(QWidget* parent, const QString& folder)>;

// The Source dialog of the network camera / video file driver: the location (an address or a file,
// with a file picker) and the RTSP transport; an empty location clears the source. OK checks the
// source first; a source that fails the check is explained in the dialog, which stays open so that
// the user can correct it.
class StreamSourceDialog final : public QDialog
{
    Q_OBJECT

public:
    StreamSourceDialog(const StreamSettings& current, StreamSourceCheck check, QWidget* parent = nullptr);

    // Replaces the system's file dialog behind "Browse...".
    void SetFilePicker(StreamFilePicker picker) { picker_ = std::move(picker); }

    // The location and transport as the widgets show them; the size is the one the dialog was given.
    StreamSettings Chosen() const;
    // The explanation shown when OK could not use the source; empty otherwise.
    QString Message() const;

    void accept() override;

private:
    void Browse();

    StreamSettings current_;
    StreamSourceCheck check_;
    StreamFilePicker picker_;
    QLineEdit* txtLocation_;
    QPushButton* cmdBrowse_;
    QComboBox* cmboTransport_;
    QLabel* lblMessage_;
};

#pragma once

#include "common/KeyValueText.h"

#include <QString>

// The capture layer's own settings (the network camera or video file location, the format chosen for
// each driver, display options), kept in the small text file "Vantu.Capture" beside the program:
// one "key=value" line each, keys sorted. Saved at once on every change.
class CaptureConfig
{
public:
    // Reads the file when it exists; a missing or unreadable file leaves every value empty. Only the
    // first megabyte is read: the file holds a few short lines.
    explicit CaptureConfig(QString path);
    // The settings as text of the file's form, to be saved at path.
    CaptureConfig(QString path, const QByteArray& text);

    QString Path() const { return path_; }
    QString Value(const QString& key, const QString& fallback = {}) const;

    // Sets the value and saves the file. False, with a plain description in error, when the file
    // could not be written; the value is kept for this run either way.
    bool SetValue(const QString& key, const QString& value, QString* error);

private:
    QString path_;
    KeyValues values_;
};

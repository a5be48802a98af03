#pragma once

class IMessageBox;
class QWidget;
class StreamDriver;

// The network camera / video file driver's Source dialog: a location that cannot be used is explained
// in the dialog, one that can is taken at once. Settings that could not be kept are told in messages.
void ShowStreamSourceDialog(StreamDriver& driver, QWidget* parent, IMessageBox& messages);

// Its Format dialog: the size of the frames, taken at once and kept; as the Source dialog.
void ShowStreamFormatDialog(StreamDriver& driver, QWidget* parent, IMessageBox& messages);

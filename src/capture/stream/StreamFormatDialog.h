#pragma once

#include "capture/stream/StreamInfo.h"

#include <QDialog>

class QComboBox;
class QLabel;

// What the source offers, in words: "Motion JPEG video, 640 x 480 pixels, 25 frames per second".
QString DescribeStreamSource(const StreamInfo& info);

// The Format dialog of the network camera / video file driver: says what the source offers and lets
// the user choose the size the frames are scaled to (StreamSizeChoices).
class StreamFormatDialog final : public QDialog
{
    Q_OBJECT

public:
    // chosen: the size chosen before; empty for the source's own size.
    StreamFormatDialog(const StreamInfo& info, QSize chosen, QWidget* parent = nullptr);

    // The size selected; empty for the source's own size, which follows the source when it changes.
    QSize ChosenSize() const;

private:
    QLabel* lblSource_;
    QComboBox* cmboSize_;
};

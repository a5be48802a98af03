#pragma once

#include "capture/v4l2/V4l2Formats.h"

#include <QDialog>
#include <vector>

class IMessageBox;
class QComboBox;
class V4l2Driver;

// The camera's picture formats, frame sizes and rates, with the one in use selected. The caller
// applies Choice() when the dialog is accepted.
class V4l2FormatDialog final : public QDialog
{
    Q_OBJECT

public:
    static QString Title() { return QStringLiteral("Video Format"); }

    V4l2FormatDialog(std::vector<V4l2PixelFormat> formats, const V4l2FormatChoice& current,
                     QWidget* parent = nullptr);

    V4l2FormatChoice Choice() const;

    // How a rate is shown: "30 frames per second", "7.5 frames per second", or the camera's own rate.
    static QString RateText(const V4l2Interval& interval);

private:
    const V4l2PixelFormat* SelectedFormat() const;
    const V4l2FrameSize* SelectedSize() const;
    // Fill the lists below the one changed, keeping the size and rate when the new entry offers them.
    void FillSizes(int width, int height);
    void FillRates(const V4l2Interval& keep);

    std::vector<V4l2PixelFormat> formats_;
    QComboBox* cmboPixelFormat_;
    QComboBox* cmboSize_;
    QComboBox* cmboRate_;
};

// The camera's Format dialog: applies the format chosen in it, and explains in messages why a camera
// that could not be started offers none, or why the chosen one could not be used or kept.
void ShowV4l2FormatDialog(V4l2Driver& driver, QWidget* parent, IMessageBox& messages);

#pragma once

#include <QDialog>

class QCheckBox;

// The capture window's display options: whether the picture is scaled to the live view, and
// whether scaling keeps the picture's proportions.
class VideoDisplayDialog final : public QDialog
{
    Q_OBJECT

public:
    VideoDisplayDialog(bool scaleToWindow, bool keepAspectRatio, QWidget* parent = nullptr);

    bool ScaleToWindow() const;
    bool KeepAspectRatio() const;

private:
    QCheckBox* chkScale_;
    QCheckBox* chkAspect_;
};

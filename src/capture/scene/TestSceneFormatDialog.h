#pragma once

#include "capture/scene/TestSceneFormat.h"

#include <QDialog>

class QComboBox;

// The test scene's format dialog: a picture size and a frame rate, each from the offered list.
class TestSceneFormatDialog final : public QDialog
{
    Q_OBJECT

public:
    explicit TestSceneFormatDialog(const TestSceneFormat& current, QWidget* parent = nullptr);

    // The format the widgets show now.
    TestSceneFormat Chosen() const;

private:
    QComboBox* cmboSize_;
    QComboBox* cmboRate_;
};

#pragma once

#include "capture/scene/TestSceneFormat.h"

#include <QDialog>

class IMessageBox;
class QComboBox;
class TestSceneDriver;

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

// The test scene's Format dialog: applies the format chosen in it, and explains in messages why it
// could not be used or kept.
void ShowTestSceneFormatDialog(TestSceneDriver& driver, QWidget* parent, IMessageBox& messages);

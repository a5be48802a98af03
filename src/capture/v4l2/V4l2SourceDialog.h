#pragma once

#include <QDialog>
#include <cstdint>
#include <map>

class IMessageBox;
class QComboBox;
class QGroupBox;
class QLabel;
class V4l2ControlWidget;
class V4l2Driver;

// The camera's source settings: its input (when it has more than one) and every control it reports,
// grouped under the control classes, each applied to the camera as soon as it is changed.
class V4l2SourceDialog final : public QDialog
{
    Q_OBJECT

public:
    explicit V4l2SourceDialog(V4l2Driver& driver, QWidget* parent = nullptr);

    // Sets every control that can be changed back to the camera's default.
    void RestoreDefaults();

private:
    QWidget* BuildControls();
    // Shows the camera's values and states again, except the value of the control just set.
    void Refresh(std::uint32_t justSet = 0);
    void ControlChosen(std::uint32_t id, std::int32_t value);
    void InputChosen(int row);

    V4l2Driver& driver_;
    QComboBox* cmboInput_ = nullptr;
    QLabel* lblStatus_;
    std::map<std::uint32_t, V4l2ControlWidget*> widgets_;
};

// The camera's Source dialog. It shows what goes wrong in itself, so messages stays unused.
void ShowV4l2SourceDialog(V4l2Driver& driver, QWidget* parent, IMessageBox& messages);

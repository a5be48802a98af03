#pragma once

#include "capture/v4l2/V4l2Controls.h"

#include <QWidget>
#include <cstdint>

// The widget for one camera control. It reports the user's changes through ValueChosen; values the
// program shows (ShowControl) are not reported back.
class V4l2ControlWidget : public QWidget
{
    Q_OBJECT

public:
    std::uint32_t ControlId() const { return id_; }
    virtual std::int32_t Value() const = 0;
    // Shows the control's value and whether it can be changed now.
    void ShowControl(const V4l2Control& control);

signals:
    void ValueChosen(std::uint32_t id, std::int32_t value);

protected:
    V4l2ControlWidget(const V4l2Control& control, QWidget* parent);
    virtual void ShowValue(std::int32_t value) = 0;
    void Choose(std::int32_t value) { emit ValueChosen(id_, value); }

private:
    std::uint32_t id_;
};

// The widget for a control: a slider with a number box for an integer, a check box for a boolean, a
// list for a menu or integer menu, a push button for a button. Read-only and inactive controls are
// shown disabled. Nothing for a class heading or a type without a widget.
V4l2ControlWidget* CreateV4l2ControlWidget(const V4l2Control& control, QWidget* parent = nullptr);

#include "capture/v4l2/V4l2ControlWidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <algorithm>
#include <linux/videodev2.h>

namespace
{
class IntegerWidget final : public V4l2ControlWidget
{
public:
    IntegerWidget(const V4l2Control& control, QWidget* parent)
        : V4l2ControlWidget(control, parent), minimum_(control.Minimum), maximum_(control.Maximum),
          step_(std::max(control.Step, 1)), slider_(new QSlider(Qt::Horizontal, this)),
          number_(new QSpinBox(this))
    {
        slider_->setObjectName(QStringLiteral("sldValue"));
        number_->setObjectName(QStringLiteral("txtValue"));
        slider_->setRange(minimum_, maximum_);
        slider_->setSingleStep(step_);
        slider_->setPageStep(
            static_cast<int>(std::max<std::int64_t>(step_, (std::int64_t(maximum_) - minimum_) / 10)));
        number_->setRange(minimum_, maximum_);
        number_->setSingleStep(step_);
        auto* layout = new QHBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(slider_, 1);
        layout->addWidget(number_);
        connect(slider_, &QSlider::valueChanged, this, &IntegerWidget::Moved);
        connect(number_, &QSpinBox::valueChanged, this, &IntegerWidget::Moved);
    }

    std::int32_t Value() const override { return number_->value(); }

protected:
    void ShowValue(std::int32_t value) override
    {
        const QSignalBlocker blockSlider(slider_);
        const QSignalBlocker blockNumber(number_);
        slider_->setValue(value);
        number_->setValue(value);
    }

private:
    // Values between the control's steps are moved to the nearest step before they are set.
    void Moved(int value)
    {
        const std::int64_t offset = std::int64_t(value) - minimum_;
        const std::int64_t snapped =
            std::min<std::int64_t>(minimum_ + (offset + step_ / 2) / step_ * std::int64_t(step_), maximum_);
        ShowValue(static_cast<std::int32_t>(snapped));
        Choose(static_cast<std::int32_t>(snapped));
    }

    std::int32_t minimum_;
    std::int32_t maximum_;
    std::int32_t step_;
    QSlider* slider_;
    QSpinBox* number_;
};

class BooleanWidget final : public V4l2ControlWidget
{
public:
    BooleanWidget(const V4l2Control& control, QWidget* parent)
        : V4l2ControlWidget(control, parent), check_(new QCheckBox(this))
    {
        check_->setObjectName(QStringLiteral("chkValue"));
        auto* layout = new QHBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(check_);
        connect(check_, &QCheckBox::toggled, this, [this](bool on) { Choose(on ? 1 : 0); });
    }

    std::int32_t Value() const override { return check_->isChecked() ? 1 : 0; }

protected:
    void ShowValue(std::int32_t value) override
    {
        const QSignalBlocker block(check_);
        check_->setChecked(value != 0);
    }

private:
    QCheckBox* check_;
};

class MenuWidget final : public V4l2ControlWidget
{
public:
    MenuWidget(const V4l2Control& control, QWidget* parent)
        : V4l2ControlWidget(control, parent), list_(new QComboBox(this))
    {
        list_->setObjectName(QStringLiteral("cmboValue"));
        for (const V4l2MenuEntry& entry : control.Menu)
            list_->addItem(entry.Text, entry.Index);
        auto* layout = new QHBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(list_);
        connect(list_, &QComboBox::activated, this,
                [this](int row) { Choose(list_->itemData(row).toInt()); });
    }

    std::int32_t Value() const override { return list_->currentData().toInt(); }

protected:
    void ShowValue(std::int32_t value) override
    {
        const QSignalBlocker block(list_);
        list_->setCurrentIndex(list_->findData(value));
    }

private:
    QComboBox* list_;
};

class ButtonWidget final : public V4l2ControlWidget
{
public:
    ButtonWidget(const V4l2Control& control, QWidget* parent)
        : V4l2ControlWidget(control, parent), button_(new QPushButton(control.Name, this))
    {
        button_->setObjectName(QStringLiteral("cmdValue"));
        auto* layout = new QHBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(button_);
        layout->addStretch();
        // Setting a button control carries out its action; the value itself is not used.
        connect(button_, &QPushButton::clicked, this, [this] { Choose(1); });
    }

    std::int32_t Value() const override { return 0; }

protected:
    void ShowValue(std::int32_t) override {}

private:
    QPushButton* button_;
};
} // namespace

V4l2ControlWidget::V4l2ControlWidget(const V4l2Control& control, QWidget* parent)
    : QWidget(parent), id_(control.Id)
{
    setObjectName(QStringLiteral("ctl%1").arg(control.Id));
    setToolTip(control.Name);
}

void V4l2ControlWidget::ShowControl(const V4l2Control& control)
{
    ShowValue(control.Value);
    setEnabled(control.Adjustable());
}

V4l2ControlWidget* CreateV4l2ControlWidget(const V4l2Control& control, QWidget* parent)
{
    V4l2ControlWidget* widget = nullptr;
    switch (control.Type)
    {
    case V4L2_CTRL_TYPE_INTEGER:
        widget = new IntegerWidget(control, parent);
        break;
    case V4L2_CTRL_TYPE_BOOLEAN:
        widget = new BooleanWidget(control, parent);
        break;
    case V4L2_CTRL_TYPE_MENU:
    case V4L2_CTRL_TYPE_INTEGER_MENU:
        widget = new MenuWidget(control, parent);
        break;
    case V4L2_CTRL_TYPE_BUTTON:
        widget = new ButtonWidget(control, parent);
        break;
    default:
        return nullptr;
    }
    widget->ShowControl(control);
    return widget;
}

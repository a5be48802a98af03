#include "capture/v4l2/V4l2SourceDialog.h"

#include "capture/v4l2/V4l2ControlWidget.h"
#include "capture/v4l2/V4l2Driver.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <linux/videodev2.h>

V4l2SourceDialog::V4l2SourceDialog(V4l2Driver& driver, QWidget* parent)
    : QDialog(parent), driver_(driver), lblStatus_(new QLabel(this))
{
    setWindowTitle(QStringLiteral("%1 Properties").arg(driver_.Device().Card));
    auto* layout = new QVBoxLayout(this);

    if (driver_.Inputs().size() > 1)
    {
        cmboInput_ = new QComboBox(this);
        cmboInput_->setObjectName(QStringLiteral("cmboInput"));
        for (const V4l2Input& input : driver_.Inputs())
            cmboInput_->addItem(input.Name);
        cmboInput_->setCurrentIndex(driver_.CurrentInput());
        connect(cmboInput_, &QComboBox::activated, this, &V4l2SourceDialog::InputChosen);
        auto* inputRow = new QFormLayout;
        inputRow->addRow(QStringLiteral("&Input:"), cmboInput_);
        layout->addLayout(inputRow);
    }

    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setWidget(BuildControls());
    layout->addWidget(scroll, 1);

    lblStatus_->setObjectName(QStringLiteral("lblStatus"));
    lblStatus_->setWordWrap(true);
    layout->addWidget(lblStatus_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* defaults =
        buttons->addButton(QStringLiteral("&Restore defaults"), QDialogButtonBox::ResetRole);
    defaults->setObjectName(QStringLiteral("cmdDefaults"));
    defaults->setEnabled(!widgets_.empty());
    connect(defaults, &QPushButton::clicked, this, &V4l2SourceDialog::RestoreDefaults);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QWidget* V4l2SourceDialog::BuildControls()
{
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    const std::vector<V4l2Control> controls = driver_.Controls();
    if (controls.empty())
        layout->addWidget(new QLabel(driver_.IsOpen()
                                         ? QStringLiteral("The camera has no settings to change.")
                                         : QStringLiteral("The camera is not running."),
                                     content));

    std::map<std::uint32_t, QGroupBox*> groups;
    const auto groupFor = [&](std::uint32_t classId)
    {
        QGroupBox*& group = groups[classId];
        if (group == nullptr)
        {
            group = new QGroupBox(V4l2ClassName(classId), content);
            group->setObjectName(QStringLiteral("fram%1").arg(classId));
            new QFormLayout(group);
            layout->addWidget(group);
        }
        return group;
    };
    for (const V4l2Control& control : controls)
    {
        if (control.Type == V4L2_CTRL_TYPE_CTRL_CLASS)
        {
            // The device's own name for the class is its heading.
            if (!control.Name.isEmpty())
                groupFor(control.ClassId())->setTitle(control.Name);
            continue;
        }
        QGroupBox* group = groupFor(control.ClassId());
        V4l2ControlWidget* widget = CreateV4l2ControlWidget(control, group);
        if (widget == nullptr)
            continue;
        const QString label = control.Type == V4L2_CTRL_TYPE_BUTTON ? QString() : control.Name + QChar(':');
        static_cast<QFormLayout*>(group->layout())->addRow(label, widget);
        connect(widget, &V4l2ControlWidget::ValueChosen, this, &V4l2SourceDialog::ControlChosen);
        widgets_[control.Id] = widget;
    }
    // A class the device names but that holds nothing to show gets no heading.
    for (auto& [classId, group] : groups)
    {
        if (static_cast<QFormLayout*>(group->layout())->rowCount() == 0)
            delete group;
    }
    layout->addStretch();
    return content;
}

void V4l2SourceDialog::Refresh(std::uint32_t justSet)
{
    for (const V4l2Control& control : driver_.Controls())
    {
        const auto found = widgets_.find(control.Id);
        if (found == widgets_.end())
            continue;
        if (control.Id == justSet)
            found->second->setEnabled(control.Adjustable());
        else
            found->second->ShowControl(control);
    }
}

void V4l2SourceDialog::ControlChosen(std::uint32_t id, std::int32_t value)
{
    QString error;
    if (driver_.SetControl(id, value, &error))
    {
        lblStatus_->clear();
        Refresh(id);
        return;
    }
    lblStatus_->setText(error);
    Refresh();
}

void V4l2SourceDialog::RestoreDefaults()
{
    QString firstError;
    // A second round resets controls that only became adjustable when another one went back to its
    // default (an exposure time once automatic exposure is off).
    for (int round = 0; round < 2; ++round)
    {
        bool changed = false;
        for (const V4l2Control& control : driver_.Controls())
        {
            if (!widgets_.count(control.Id) || control.Type == V4L2_CTRL_TYPE_BUTTON ||
                !control.Adjustable() || control.Value == control.Default)
                continue;
            QString error;
            if (driver_.SetControl(control.Id, control.Default, &error))
                changed = true;
            else if (firstError.isEmpty())
                firstError = error;
        }
        if (!changed)
            break;
    }
    lblStatus_->setText(firstError);
    Refresh();
}

void V4l2SourceDialog::InputChosen(int row)
{
    QString error;
    const bool switched = driver_.SelectInput(row, &error);
    lblStatus_->setText(error);
    cmboInput_->setCurrentIndex(driver_.CurrentInput());
    if (switched)
        Refresh();
}

void ShowV4l2SourceDialog(V4l2Driver& driver, QWidget* parent, IMessageBox&)
{
    V4l2SourceDialog dialog(driver, parent);
    dialog.exec();
}

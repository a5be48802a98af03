#include "capture/v4l2/V4l2ControlWidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <gtest/gtest.h>
#include <linux/videodev2.h>
#include <memory>

namespace
{
V4l2Control Control(std::uint32_t type, std::int32_t value, std::uint32_t flags = 0)
{
    V4l2Control control;
    control.Id = V4L2_CID_BRIGHTNESS;
    control.Type = type;
    control.Name = QStringLiteral("Brightness");
    control.Minimum = -64;
    control.Maximum = 64;
    control.Step = 4;
    control.Default = 0;
    control.Flags = flags;
    control.Value = value;
    return control;
}

// The values a widget reported, in order.
struct Chosen
{
    std::vector<std::int32_t> Values;
    void Watch(V4l2ControlWidget& widget)
    {
        QObject::connect(&widget, &V4l2ControlWidget::ValueChosen,
                         [this, &widget](std::uint32_t id, std::int32_t value)
                         {
                             EXPECT_EQ(id, widget.ControlId());
                             Values.push_back(value);
                         });
    }
};
} // namespace

TEST(V4l2ControlWidget, IntegerIsASliderWithANumberThatSnapToTheStep)
{
    std::unique_ptr<V4l2ControlWidget> widget(CreateV4l2ControlWidget(Control(V4L2_CTRL_TYPE_INTEGER, 8)));
    ASSERT_TRUE(widget);
    auto* slider = widget->findChild<QSlider*>();
    auto* number = widget->findChild<QSpinBox*>();
    ASSERT_TRUE(slider && number);
    EXPECT_EQ(slider->minimum(), -64);
    EXPECT_EQ(slider->maximum(), 64);
    EXPECT_EQ(slider->value(), 8);
    EXPECT_EQ(number->value(), 8);
    EXPECT_TRUE(widget->isEnabled());
    EXPECT_EQ(widget->objectName(), QStringLiteral("ctl%1").arg(V4L2_CID_BRIGHTNESS));

    Chosen chosen;
    chosen.Watch(*widget);
    number->setValue(10); // between steps: -64 + 4k nearest to 10 is 12
    slider->setValue(64);
    slider->setValue(-63);
    EXPECT_EQ(chosen.Values, (std::vector<std::int32_t>{12, 64, -64}));
    EXPECT_EQ(number->value(), -64);
    EXPECT_EQ(widget->Value(), -64);

    V4l2Control shown = Control(V4L2_CTRL_TYPE_INTEGER, 20, V4L2_CTRL_FLAG_INACTIVE);
    widget->ShowControl(shown);
    EXPECT_EQ(slider->value(), 20);
    EXPECT_EQ(number->value(), 20);
    EXPECT_FALSE(widget->isEnabled());
    EXPECT_EQ(chosen.Values.size(), 3u) << "a value the program shows is not sent back to the camera";
}

TEST(V4l2ControlWidget, BooleanIsACheckBox)
{
    std::unique_ptr<V4l2ControlWidget> widget(CreateV4l2ControlWidget(Control(V4L2_CTRL_TYPE_BOOLEAN, 1)));
    ASSERT_TRUE(widget);
    auto* check = widget->findChild<QCheckBox*>();
    ASSERT_TRUE(check);
    EXPECT_TRUE(check->isChecked());
    Chosen chosen;
    chosen.Watch(*widget);
    check->click();
    check->click();
    EXPECT_EQ(chosen.Values, (std::vector<std::int32_t>{0, 1}));
    widget->ShowControl(Control(V4L2_CTRL_TYPE_BOOLEAN, 0));
    EXPECT_FALSE(check->isChecked());
    EXPECT_EQ(chosen.Values.size(), 2u);
}

TEST(V4l2ControlWidget, MenusListTheirEntriesAndReportTheEntryIndex)
{
    for (const std::uint32_t type :
         {std::uint32_t(V4L2_CTRL_TYPE_MENU), std::uint32_t(V4L2_CTRL_TYPE_INTEGER_MENU)})
    {
        SCOPED_TRACE(type);
        V4l2Control control = Control(type, 2);
        // Index 1 is a gap the device does not know.
        control.Menu = {
            {0, QStringLiteral("Disabled")}, {2, QStringLiteral("60 Hz")}, {3, QStringLiteral("Auto")}};
        std::unique_ptr<V4l2ControlWidget> widget(CreateV4l2ControlWidget(control));
        ASSERT_TRUE(widget);
        auto* list = widget->findChild<QComboBox*>();
        ASSERT_TRUE(list);
        ASSERT_EQ(list->count(), 3);
        EXPECT_EQ(list->currentText(), QStringLiteral("60 Hz"));
        Chosen chosen;
        chosen.Watch(*widget);
        list->setCurrentIndex(2);
        emit list->activated(2);
        EXPECT_EQ(chosen.Values, (std::vector<std::int32_t>{3}));
        EXPECT_EQ(widget->Value(), 3);
    }
}

TEST(V4l2ControlWidget, ButtonCarriesOutItsAction)
{
    V4l2Control control = Control(V4L2_CTRL_TYPE_BUTTON, 0);
    control.Name = QStringLiteral("Pan, Reset");
    std::unique_ptr<V4l2ControlWidget> widget(CreateV4l2ControlWidget(control));
    ASSERT_TRUE(widget);
    auto* button = widget->findChild<QPushButton*>();
    ASSERT_TRUE(button);
    EXPECT_EQ(button->text(), QStringLiteral("Pan, Reset"));
    Chosen chosen;
    chosen.Watch(*widget);
    button->click();
    EXPECT_EQ(chosen.Values.size(), 1u);
}

TEST(V4l2ControlWidget, ReadOnlyInactiveAndGrabbedControlsAreShownDisabled)
{
    for (const std::uint32_t type :
         {std::uint32_t(V4L2_CTRL_TYPE_INTEGER), std::uint32_t(V4L2_CTRL_TYPE_BOOLEAN),
          std::uint32_t(V4L2_CTRL_TYPE_BUTTON)})
    {
        for (const std::uint32_t flag :
             {std::uint32_t(V4L2_CTRL_FLAG_READ_ONLY), std::uint32_t(V4L2_CTRL_FLAG_INACTIVE),
              std::uint32_t(V4L2_CTRL_FLAG_GRABBED)})
        {
            std::unique_ptr<V4l2ControlWidget> widget(CreateV4l2ControlWidget(Control(type, 0, flag)));
            ASSERT_TRUE(widget);
            EXPECT_FALSE(widget->isEnabled()) << "type " << type << " flag " << flag;
        }
        std::unique_ptr<V4l2ControlWidget> widget(
            CreateV4l2ControlWidget(Control(type, 0, V4L2_CTRL_FLAG_SLIDER | V4L2_CTRL_FLAG_UPDATE)));
        EXPECT_TRUE(widget->isEnabled()) << "type " << type;
    }
}

TEST(V4l2ControlWidget, HeadingsAndOtherTypesGetNoWidget)
{
    for (const std::uint32_t type :
         {std::uint32_t(V4L2_CTRL_TYPE_CTRL_CLASS), std::uint32_t(V4L2_CTRL_TYPE_INTEGER64),
          std::uint32_t(V4L2_CTRL_TYPE_STRING), 0u})
        EXPECT_EQ(CreateV4l2ControlWidget(Control(type, 0)), nullptr) << type;
}

#include "capture/driver/CaptureConfig.h"
#include "capture/v4l2/V4l2ControlWidget.h"
#include "capture/v4l2/V4l2Driver.h"
#include "capture/v4l2/V4l2FormatDialog.h"
#include "capture/v4l2/V4l2SourceDialog.h"
#include "support/FakeV4l2Device.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

class V4l2DialogsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        camera.Controls = {
            TypedControl(V4L2_CID_USER_CLASS, V4L2_CTRL_TYPE_CTRL_CLASS, "User Controls", 0, 0),
            IntegerControl(V4L2_CID_BRIGHTNESS, "Brightness", 0, 255, 1, 100, 128),
            TypedControl(V4L2_CID_AUTO_WHITE_BALANCE, V4L2_CTRL_TYPE_BOOLEAN, "White Balance, Automatic", 1,
                         1),
            MenuControl(V4L2_CID_POWER_LINE_FREQUENCY, "Power Line Frequency", {"Disabled", "50 Hz", "60 Hz"},
                        2, 1),
            IntegerControl(V4L2_CID_WHITE_BALANCE_TEMPERATURE, "White Balance Temperature", 2800, 6500, 10,
                           4000, 4600, V4L2_CTRL_FLAG_INACTIVE),
            IntegerControl(V4L2_CID_SHARPNESS, "Sharpness", 0, 7, 1, 3, 3, V4L2_CTRL_FLAG_DISABLED),
            TypedControl(V4L2_CID_PAN_RESET, V4L2_CTRL_TYPE_BUTTON, "Pan, Reset", 0, 0),
            IntegerControl(V4L2_CID_FOCUS_ABSOLUTE, "Focus (absolute)", 0, 250, 5, 50, 0,
                           V4L2_CTRL_FLAG_READ_ONLY),
        };
        // Manual white balance can be set only while the automatic one is off.
        camera.OnSetControl = [](FakeV4l2Camera& c, std::uint32_t id, std::int32_t value)
        {
            if (id != V4L2_CID_AUTO_WHITE_BALANCE)
                return;
            for (FakeV4l2Control& control : c.Controls)
            {
                if (control.Query.id == V4L2_CID_WHITE_BALANCE_TEMPERATURE)
                    control.Query.flags = value ? V4L2_CTRL_FLAG_INACTIVE : 0;
            }
        };
    }

    std::unique_ptr<V4l2Driver> OpenDriver()
    {
        auto driver = std::make_unique<V4l2Driver>(
            fake.Api(),
            V4l2DeviceInfo{QString::fromStdString(FakeCameraPath), QStringLiteral("Fake Camera"), {}, {}, 0},
            config);
        EXPECT_TRUE(driver->Open()) << driver->OpenError().toStdString();
        return driver;
    }

    std::int32_t CameraValue(std::uint32_t id)
    {
        for (const FakeV4l2Control& control : camera.Controls)
        {
            if (control.Query.id == id)
                return control.Value;
        }
        ADD_FAILURE() << "no control " << id;
        return 0;
    }

    template <typename T> static T* Within(QWidget& dialog, std::uint32_t id)
    {
        auto* widget = dialog.findChild<V4l2ControlWidget*>(QStringLiteral("ctl%1").arg(id));
        return widget != nullptr ? widget->findChild<T*>() : nullptr;
    }

    QTemporaryDir dir;
    CaptureConfig config{dir.filePath(QStringLiteral("Vantu.Capture"))};
    FakeV4l2 fake;
    FakeV4l2Camera& camera = fake.AddCamera(FakeCameraPath);
};
} // namespace

TEST_F(V4l2DialogsTest, SourceDialogShowsEveryReportedControlUnderItsClassHeading)
{
    auto driver = OpenDriver();
    V4l2SourceDialog dialog(*driver);

    QStringList headings;
    for (const QGroupBox* group : dialog.findChildren<QGroupBox*>())
        headings << group->title();
    EXPECT_EQ(headings, (QStringList{QStringLiteral("User Controls"), QStringLiteral("Camera Controls")}));
    EXPECT_EQ(dialog.findChild<QComboBox*>(QStringLiteral("cmboInput")), nullptr)
        << "one input: nothing to choose";

    const auto widget = [&](std::uint32_t id)
    { return dialog.findChild<V4l2ControlWidget*>(QStringLiteral("ctl%1").arg(id)); };
    ASSERT_TRUE(widget(V4L2_CID_BRIGHTNESS));
    EXPECT_EQ(widget(V4L2_CID_BRIGHTNESS)->Value(), 100);
    EXPECT_EQ(Within<QComboBox>(dialog, V4L2_CID_POWER_LINE_FREQUENCY)->currentText(),
              QStringLiteral("60 Hz"));
    EXPECT_TRUE(Within<QPushButton>(dialog, V4L2_CID_PAN_RESET));
    EXPECT_EQ(widget(V4L2_CID_SHARPNESS), nullptr) << "a disabled control is not shown";
    EXPECT_FALSE(widget(V4L2_CID_WHITE_BALANCE_TEMPERATURE)->isEnabled()) << "inactive";
    EXPECT_FALSE(widget(V4L2_CID_FOCUS_ABSOLUTE)->isEnabled()) << "read-only";
    EXPECT_TRUE(widget(V4L2_CID_BRIGHTNESS)->isEnabled());
}

TEST_F(V4l2DialogsTest, SourceDialogAppliesChangesAtOnceAndShowsWhatTheyChanged)
{
    auto driver = OpenDriver();
    V4l2SourceDialog dialog(*driver);
    auto* status = dialog.findChild<QLabel*>(QStringLiteral("lblStatus"));
    ASSERT_TRUE(status);

    Within<QSpinBox>(dialog, V4L2_CID_BRIGHTNESS)->setValue(200);
    EXPECT_EQ(CameraValue(V4L2_CID_BRIGHTNESS), 200);

    Within<QCheckBox>(dialog, V4L2_CID_AUTO_WHITE_BALANCE)->click();
    EXPECT_EQ(CameraValue(V4L2_CID_AUTO_WHITE_BALANCE), 0);
    auto* temperature =
        dialog.findChild<V4l2ControlWidget*>(QStringLiteral("ctl%1").arg(V4L2_CID_WHITE_BALANCE_TEMPERATURE));
    EXPECT_TRUE(temperature->isEnabled()) << "the manual white balance became adjustable";
    Within<QSpinBox>(dialog, V4L2_CID_WHITE_BALANCE_TEMPERATURE)->setValue(5000);
    EXPECT_EQ(CameraValue(V4L2_CID_WHITE_BALANCE_TEMPERATURE), 5000);
    Within<QPushButton>(dialog, V4L2_CID_PAN_RESET)->click();
    EXPECT_EQ(fake.Calls(FakeCameraPath, VIDIOC_S_CTRL), 4);
    EXPECT_TRUE(status->text().isEmpty());

    // A setting the camera refuses is explained, and the camera's own value is shown again.
    fake.FailIoctl(FakeCameraPath, VIDIOC_S_CTRL, EBUSY);
    Within<QSpinBox>(dialog, V4L2_CID_BRIGHTNESS)->setValue(10);
    EXPECT_EQ(status->text(),
              QStringLiteral("The camera \"Fake Camera\" did not take the setting: Device or resource busy"));
    EXPECT_EQ(Within<QSpinBox>(dialog, V4L2_CID_BRIGHTNESS)->value(), 200);
    EXPECT_EQ(CameraValue(V4L2_CID_BRIGHTNESS), 200);
}

TEST_F(V4l2DialogsTest, RestoreDefaultsResetsEveryControlThatCanBeChanged)
{
    auto driver = OpenDriver();
    V4l2SourceDialog dialog(*driver);
    Within<QCheckBox>(dialog, V4L2_CID_AUTO_WHITE_BALANCE)->click();
    Within<QSpinBox>(dialog, V4L2_CID_WHITE_BALANCE_TEMPERATURE)->setValue(3000);

    auto* defaults = dialog.findChild<QPushButton*>(QStringLiteral("cmdDefaults"));
    ASSERT_TRUE(defaults);
    defaults->click();
    EXPECT_EQ(CameraValue(V4L2_CID_BRIGHTNESS), 128);
    EXPECT_EQ(CameraValue(V4L2_CID_AUTO_WHITE_BALANCE), 1);
    EXPECT_EQ(CameraValue(V4L2_CID_POWER_LINE_FREQUENCY), 1);
    EXPECT_EQ(CameraValue(V4L2_CID_WHITE_BALANCE_TEMPERATURE), 4600);
    EXPECT_EQ(CameraValue(V4L2_CID_FOCUS_ABSOLUTE), 50) << "read-only controls are left alone";
    EXPECT_EQ(Within<QSpinBox>(dialog, V4L2_CID_BRIGHTNESS)->value(), 128);
    EXPECT_EQ(Within<QComboBox>(dialog, V4L2_CID_POWER_LINE_FREQUENCY)->currentText(),
              QStringLiteral("50 Hz"));
    EXPECT_FALSE(
        dialog.findChild<V4l2ControlWidget*>(QStringLiteral("ctl%1").arg(V4L2_CID_WHITE_BALANCE_TEMPERATURE))
            ->isEnabled());
}

TEST_F(V4l2DialogsTest, SourceDialogOffersTheInputsOfADeviceWithSeveral)
{
    camera.Inputs = {"Camera", "S-Video", "Composite"};
    auto driver = OpenDriver();
    V4l2SourceDialog dialog(*driver);
    auto* inputs = dialog.findChild<QComboBox*>(QStringLiteral("cmboInput"));
    ASSERT_TRUE(inputs);
    ASSERT_EQ(inputs->count(), 3);
    EXPECT_EQ(inputs->itemText(2), QStringLiteral("Composite"));
    inputs->setCurrentIndex(2);
    emit inputs->activated(2);
    EXPECT_EQ(camera.Input, 2);
    EXPECT_EQ(driver->CurrentInput(), 2);
    EXPECT_TRUE(driver->IsOpen());

    // An input the device will not switch to leaves the list on the one in use.
    fake.FailIoctl(FakeCameraPath, VIDIOC_S_INPUT, EBUSY);
    inputs->setCurrentIndex(0);
    emit inputs->activated(0);
    EXPECT_EQ(inputs->currentIndex(), 2);
    EXPECT_TRUE(
        dialog.findChild<QLabel*>(QStringLiteral("lblStatus"))->text().contains(QStringLiteral("busy")));
    EXPECT_EQ(driver->CurrentInput(), 2);
}

TEST_F(V4l2DialogsTest, FormatDialogOffersTheCameraFormatsSizesAndRates)
{
    auto driver = OpenDriver();
    V4l2FormatDialog dialog(driver->Formats(), driver->Format());
    auto* formats = dialog.findChild<QComboBox*>(QStringLiteral("cmboPixelFormat"));
    auto* sizes = dialog.findChild<QComboBox*>(QStringLiteral("cmboSize"));
    auto* rates = dialog.findChild<QComboBox*>(QStringLiteral("cmboRate"));
    ASSERT_TRUE(formats && sizes && rates);
    ASSERT_EQ(formats->count(), 2) << "libv4l2's own conversions are not the camera's formats";
    EXPECT_EQ(formats->currentText(), QStringLiteral("YUYV 4:2:2 (YUYV)"));
    EXPECT_EQ(sizes->count(), 2);
    EXPECT_EQ(sizes->currentText(), QStringLiteral("640 x 480"));
    EXPECT_EQ(rates->currentText(), QStringLiteral("30 frames per second"));
    EXPECT_EQ(dialog.Choice(), driver->Format());

    formats->setCurrentIndex(1);
    EXPECT_EQ(sizes->count(), 1);
    EXPECT_EQ(sizes->currentText(), QStringLiteral("1280 x 720"));
    EXPECT_EQ(rates->currentText(), QStringLiteral("30 frames per second"))
        << "the rate is kept where offered";
    rates->setCurrentIndex(1);
    dialog.accept();
    const V4l2FormatChoice chosen = dialog.Choice();
    EXPECT_EQ(chosen, (V4l2FormatChoice{V4L2_PIX_FMT_MJPEG, 1280, 720, {1, 15}}));

    QString error;
    ASSERT_TRUE(driver->ApplyFormat(chosen, &error)) << error.toStdString();
    EXPECT_EQ(driver->FrameSize(), QSize(1280, 720));
}

TEST(V4l2FormatDialog, RatesReadAsFramesPerSecond)
{
    EXPECT_EQ(V4l2FormatDialog::RateText({1, 30}), QStringLiteral("30 frames per second"));
    EXPECT_EQ(V4l2FormatDialog::RateText({2, 15}), QStringLiteral("7.5 frames per second"));
    EXPECT_EQ(V4l2FormatDialog::RateText({1001, 30000}), QStringLiteral("29.97 frames per second"));
    EXPECT_EQ(V4l2FormatDialog::RateText({}), QStringLiteral("The camera's own rate"));
}

TEST(V4l2FormatDialog, SizesWithoutListedRatesOfferTheCameraOwnRate)
{
    const std::vector<V4l2PixelFormat> formats = {
        {V4L2_PIX_FMT_YUYV, QString(), {{352, 288, {}}, {800, 600, {}}}}};
    V4l2FormatDialog dialog(formats, {V4L2_PIX_FMT_YUYV, 640, 480, {1, 30}});
    EXPECT_EQ(dialog.findChild<QComboBox*>(QStringLiteral("cmboPixelFormat"))->currentText(),
              QStringLiteral("YUYV"));
    EXPECT_EQ(dialog.findChild<QComboBox*>(QStringLiteral("cmboSize"))->currentText(),
              QStringLiteral("800 x 600"))
        << "the size nearest the one in use";
    EXPECT_EQ(dialog.Choice(), (V4l2FormatChoice{V4L2_PIX_FMT_YUYV, 800, 600, {}}));
}

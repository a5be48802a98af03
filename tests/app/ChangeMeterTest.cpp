#include "ui/ChangeMeter.h"
#include "support/ScriptedDriver.h"
#include "support/VantuHarness.h"

#include <QAction>
#include <QLabel>
#include <QSlider>
#include <gtest/gtest.h>

namespace
{
class ChangeMeterTest : public ::testing::Test
{
protected:
    ChangeMeterTest()
    {
        drivers.Camera().Size = QSize(64, 48);
        SettingsRecord settings;
        settings.SoundNotify = True; // a detection plays the sound in both modes
        settings.NotifyFile = h.AppFile(QStringLiteral("Notify.Wav"));
        h.WriteAppFile(QStringLiteral("Notify.Wav"), "RIFF");
        h.WriteSettings(settings);
    }

    void Frame(std::uint64_t sum)
    {
        drivers.Camera().QueueFrame(sum);
        window->Session().GrabTimer_Timer();
    }

    void Baseline(Mode mode, std::uint64_t sum)
    {
        window->ChangeMode(mode);
        for (int i = 0; i < 26; ++i)
            Frame(sum);
    }

    const ChangeMeter& Meter() const { return *window->Ui().picMeter; }

    ScopedScriptedDrivers drivers;
    VantuHarness h;
    frmVantu* window = nullptr;
};
} // namespace

TEST_F(ChangeMeterTest, ShowsTheDetectorsChangeForEachComparedFrameAndFlashesOnADetection)
{
    window = &h.Start();
    EXPECT_TRUE(Meter().isHidden()) << "nothing is compared in Preview mode";
    for (const Mode mode : {ModeMonitor, ModeFineTune})
    {
        SCOPED_TRACE(static_cast<int>(mode));
        Baseline(mode, 500'000);
        EXPECT_FALSE(Meter().isHidden());
        EXPECT_EQ(Meter().Change(), 0.0);
        // Sums chosen so that each change is exact in sensitivity units; the default sensitivity is 2.
        const struct
        {
            std::uint64_t sum;
            double change;
            bool detected;
        } frames[] = {{650'000, 1.5, false},
                      {450'000, 2.0, false},
                      {450'001, 0.00001, false},
                      {700'002, 2.50001, true},
                      {100'002, 6.0, true}};
        for (const auto& f : frames)
        {
            const auto before = h.sound.played.size();
            const bool flashingBefore = Meter().IsFlashing();
            Frame(f.sum);
            EXPECT_DOUBLE_EQ(Meter().Change(), f.change) << f.sum;
            EXPECT_EQ(Meter().Threshold(), 2.0);
            EXPECT_EQ(h.sound.played.size() > before, f.detected) << f.sum;
            if (f.detected)
                EXPECT_TRUE(Meter().IsFlashing()) << f.sum;
            else
                EXPECT_EQ(Meter().IsFlashing(), flashingBefore) << "only a detection starts a flash";
        }
        window->Ui().mnuPreview->trigger();
        EXPECT_TRUE(Meter().isHidden());
    }
}

TEST_F(ChangeMeterTest, ANewBaselineClearsTheMeterAndTheSliderMovesItsThreshold)
{
    window = &h.Start();
    window->Ui().mnuFineTune->trigger();
    for (int i = 0; i < 26; ++i)
        Frame(500'000);
    // The slider's top is its largest sensitivity: a change must be larger there to count.
    const frmVantuUi& ui = window->Ui();
    EXPECT_FALSE(ui.sldSens->invertedAppearance());
    EXPECT_FALSE(ui.lblLessSensitive->isHidden() || ui.lblMoreSensitive->isHidden());
    EXPECT_LT(ui.lblLessSensitive->y(), ui.lblMoreSensitive->y());
    Frame(900'000);
    EXPECT_TRUE(Meter().IsFlashing());
    window->Ui().sldSens->setValue(450);
    Frame(500'000);
    EXPECT_EQ(Meter().Threshold(), 4.5);
    EXPECT_EQ(Meter().Change(), 4.0);
    Frame(500'000);
    EXPECT_EQ(Meter().Change(), 0.0);
    EXPECT_EQ(Meter().Peak(), 4.0) << "the largest change of the last moments stays marked";
    window->Ui().mnuFineTune->trigger();
    window->Ui().mnuMonitor->trigger();
    EXPECT_EQ(Meter().Change(), 0.0);
    EXPECT_FALSE(Meter().IsFlashing());
    EXPECT_EQ(Meter().Peak(), 0.0);
}

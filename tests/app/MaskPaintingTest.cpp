#include "app/MaskOverlay.h"
#include "common/Options.h"
#include "support/ScriptedDriver.h"
#include "support/VantuHarness.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace
{
// Whether the mask watches the frame pixel at x, y.
bool Watched(frmVantu& window, int x, int y)
{
    return window.Session().Mask().Cells(64, 48)[static_cast<std::size_t>(y) * 64 + x] != 0;
}
} // namespace

TEST(MaskPainting, AStrokeOnTheLivePictureCoversItAndIsSavedAndClearWatchesTheWholePictureAgain)
{
    ScopedScriptedDrivers drivers;
    drivers.Camera().Size = QSize(64, 48);
    VantuHarness h;
    frmVantu& window = h.Start();
    auto* overlay = window.findChild<MaskOverlay*>();
    EXPECT_TRUE(overlay == nullptr || overlay->isHidden()) << "no painting in Preview mode";
    window.ChangeMode(ModeFineTune);
    for (int i = 0; i < 26; ++i)
    {
        drivers.Camera().QueueFrame(1000);
        window.Session().GrabTimer_Timer();
    }
    overlay = window.findChild<MaskOverlay*>();
    ASSERT_NE(overlay, nullptr);
    ASSERT_FALSE(overlay->isHidden());
    EXPECT_FALSE(window.Ui().chkShowChanges->isHidden());

    QTest::mousePress(overlay, Qt::LeftButton, {}, QPoint(32, 24));
    QTest::mouseRelease(overlay, Qt::LeftButton, {}, QPoint(32, 24));
    const QString maskFile = h.AppFile(QStringLiteral("Mask.png"));
    EXPECT_EQ(window.Options().MaskPath, maskFile);
    EXPECT_TRUE(QFileInfo::exists(maskFile));
    EXPECT_FALSE(Watched(window, 32, 24));
    EXPECT_TRUE(Watched(window, 2, 2));
    EXPECT_TRUE(h.ReadAppFile(QStringLiteral("Vantu.Options")).contains("Mask.png"));

    QTest::mousePress(overlay, Qt::RightButton, {}, QPoint(32, 24));
    QTest::mouseRelease(overlay, Qt::RightButton, {}, QPoint(32, 24));
    EXPECT_TRUE(Watched(window, 32, 24)) << "the right button uncovers";

    window.Ui().cmdClearMask->click();
    EXPECT_TRUE(window.Session().Mask().IsEmpty());
    EXPECT_TRUE(window.Options().MaskPath.isEmpty());
}

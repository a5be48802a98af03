#include "capture/scene/TestSceneFormat.h"
#include "capture/scene/TestSceneFormatDialog.h"

#include <QComboBox>
#include <gtest/gtest.h>

TEST(TestSceneFormat, EveryOfferedFormatSurvivesItsText)
{
    for (const QSize& size : TestSceneSizes())
        for (int rate : TestSceneRates())
        {
            const TestSceneFormat format{size, rate};
            EXPECT_EQ(ParseTestSceneFormat(TestSceneFormatText(format)), format)
                << TestSceneFormatText(format).toStdString();
        }
    EXPECT_EQ(TestSceneFormatText({{1920, 1080}, 60}), QStringLiteral("1920x1080@60"));
}

TEST(TestSceneFormat, AnythingElseReadsAs640x480At30)
{
    const TestSceneFormat fallback{{640, 480}, 30};
    for (const char* text : {"", " ", "640x480", "x480@30", "640x@30", "640x480@", "640*480@30",
                             "640x480@30fps", "640 x 480 @ 30", "1024x768@30", "640x480@24", "0x0@0",
                             "+640x480@30", "640x480@030x", "64O0x480@30"})
        EXPECT_EQ(ParseTestSceneFormat(QString::fromUtf8(text)), fallback) << text;
    EXPECT_EQ(ParseTestSceneFormat(QStringLiteral(" 320x240@15 ")), (TestSceneFormat{{320, 240}, 15}));
}

TEST(TestSceneFormatDialog, OffersTheSizesAndRatesAndReturnsTheChoice)
{
    TestSceneFormatDialog dialog({{800, 600}, 15});
    auto* size = dialog.findChild<QComboBox*>(QStringLiteral("cmboSize"));
    auto* rate = dialog.findChild<QComboBox*>(QStringLiteral("cmboRate"));
    ASSERT_NE(size, nullptr);
    ASSERT_NE(rate, nullptr);
    EXPECT_EQ(size->count(), 5);
    EXPECT_EQ(rate->count(), 3);
    EXPECT_EQ(size->currentText(), QStringLiteral("800 x 600"));
    EXPECT_EQ(rate->currentText(), QStringLiteral("15 frames a second"));
    EXPECT_EQ(dialog.Chosen(), (TestSceneFormat{{800, 600}, 15}));

    size->setCurrentIndex(size->findText(QStringLiteral("1920 x 1080")));
    rate->setCurrentIndex(rate->findText(QStringLiteral("60 frames a second")));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Chosen(), (TestSceneFormat{{1920, 1080}, 60}));
}

TEST(TestSceneFormatDialog, AFormatItDoesNotOfferShowsTheDefault)
{
    const TestSceneFormatDialog dialog({{1024, 768}, 25});
    EXPECT_EQ(dialog.Chosen(), (TestSceneFormat{{640, 480}, 30}));
}

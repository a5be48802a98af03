#include "capture/modMemCap.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>
#include <string>

TEST(VideoError, NumberZeroShowsNothing)
{
    FakeMessageBox messages;
    int unloads = 0;
    const VideoErrorSink sink{messages, [&](const QString&) { ++unloads; }};
    EXPECT_EQ(CaptureErrorCallback(sink, nullptr, 0, "cleared"), 0);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(unloads, 0);
}

TEST(VideoError, ANonZeroErrorShowsTheBoxThenUnloadsTheMainWindow)
{
    FakeMessageBox messages;
    int unloads = 0;
    const VideoErrorSink sink{messages, [&](const QString& reason)
                              {
                                  EXPECT_EQ(messages.shown.size(), 1u) << "the box comes first";
                                  EXPECT_EQ(reason, messages.shown.back().Prompt)
                                      << "the reason the program ends";
                                  ++unloads;
                              }};
    for (const std::int32_t number : {434, -7})
    {
        messages.shown.clear();
        EXPECT_EQ(CaptureErrorCallback(sink, nullptr, number, "The camera stopped"), 0);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].Prompt,
                  QStringLiteral("The camera stopped\rError Number: ") + QString::number(number) +
                      QStringLiteral("\rVantu will now exit.  Please check your video "
                                     "device and try again."));
        EXPECT_EQ(messages.shown[0].Title, QStringLiteral("Vantu Video Error"));
        EXPECT_EQ(messages.shown[0].Style, MsgBoxStyle::Critical);
    }
    EXPECT_EQ(unloads, 2);
}

TEST(VideoError, TextsAreCutAtTheirNulOr255CharactersAndStatusShowsNothing)
{
    EXPECT_EQ(CaptureCallbackText("abc\0def"), QStringLiteral("abc"));
    EXPECT_EQ(CaptureCallbackText(nullptr), QString());
    const std::string longText(400, 'e');
    EXPECT_EQ(CaptureCallbackText(longText.c_str()).size(), 255);
    EXPECT_EQ(CaptureStatusCallback(nullptr, 3, "reconnecting"), 0);
}

#include "settings/SettingsCodec.h"

#include <gtest/gtest.h>

TEST(SettingsCodec, ExampleRecordIs49Bytes)
{
    SettingsRecord r;
    r.SettingsLoaded = True;
    r.Sensitivity = 2.0;
    r.MaxFiles = 20;
    r.SoundNotify = True;
    r.ImageDirectory = QStringLiteral("C:\\");
    r.SaveImage = True;
    r.LogMaxSize = 1;
    const QByteArray expected = QByteArray::fromHex("0000" "0000" "FFFF" "0000000000000040" "14000000" "FFFF"
                                                    "0300433A5C" "0000" "FFFF" "0000" "0000" "0000" "0000"
                                                    "0000" "0000" "0000" "0000" "01000000");
    EXPECT_EQ(EncodeSettings(r), expected);
    EXPECT_EQ(DecodeSettings(expected), r);
}

#include "settings/SettingsCodec.h"
#include "common/AnsiText.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>

namespace
{
SettingsRecord ExampleRecord()
{
    SettingsRecord r;
    r.SettingsLoaded = True;
    r.Sensitivity = 2.0;
    r.MaxFiles = 20;
    r.SoundNotify = True;
    r.ImageDirectory = QStringLiteral("C:\\");
    r.SaveImage = True;
    r.LogMaxSize = 1;
    return r;
}

const QByteArray ExampleBytes = QByteArray::fromHex("0000"
                                                    "0000"
                                                    "FFFF"
                                                    "0000000000000040"
                                                    "14000000"
                                                    "FFFF"
                                                    "0300433A5C"
                                                    "0000"
                                                    "FFFF"
                                                    "0000"
                                                    "0000"
                                                    "0000"
                                                    "0000"
                                                    "0000"
                                                    "0000"
                                                    "0000"
                                                    "0000"
                                                    "01000000");
} // namespace

TEST(SettingsCodec, WritesAndReadsTheExampleRecordByteForByte)
{
    ASSERT_EQ(ExampleBytes.size(), 49);
    EXPECT_EQ(EncodeSettings(ExampleRecord()), ExampleBytes);
    EXPECT_EQ(DecodeSettings(ExampleBytes), ExampleRecord());
}

TEST(SettingsCodec, AllEmptyRecordIs46BytesAndEveryTextAddsItsBytes)
{
    EXPECT_EQ(EncodeSettings(SettingsRecord{}), QByteArray(46, '\0'));
    EXPECT_EQ(DecodeSettings(QByteArray(46, '\0')), SettingsRecord{});

    SettingsRecord r;
    r.EmailAddress = QStringLiteral("me@example.org");
    r.POPPassword = QStringLiteral("pw");
    EXPECT_EQ(EncodeSettings(r).size(), 46 + 14 + 2);
}

TEST(SettingsCodec, KeepsNulPaddingNegativeNumbersAndOddFlags)
{
    SettingsRecord r;
    r.DeviceName = QStringLiteral("USB Camera") + QString(90, QChar(0));
    r.MaxFiles = -5;
    r.LogMaxSize = std::numeric_limits<std::int32_t>::min();
    r.Sensitivity = -0.25;
    r.AutoConnect = 1; // a True that is not -1 goes back as it was read
    r.WriteLogFile = True;

    const QByteArray bytes = EncodeSettings(r);
    const qsizetype deviceAt = bytes.indexOf("USB Camera") - 2;
    EXPECT_EQ(static_cast<unsigned char>(bytes[deviceAt]), 100);
    EXPECT_EQ(static_cast<unsigned char>(bytes[deviceAt + 1]), 0);
    bool intact = false;
    EXPECT_EQ(DecodeSettings(bytes, {}, &intact), r);
    EXPECT_TRUE(intact) << "NUL padding is part of a sound text";
}

TEST(SettingsCodec, NotANumberSurvivesTheRoundTrip)
{
    SettingsRecord r;
    r.Sensitivity = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(std::isnan(DecodeSettings(EncodeSettings(r)).Sensitivity));
}

TEST(SettingsCodec, FieldsThatShortBytesDontHoldInFullKeepTheirStartValues)
{
    SettingsRecord start;
    start.SettingsLoaded = 5;
    start.Sensitivity = 9.0;
    start.MaxFiles = 99;
    start.ImageDirectory = QStringLiteral("start");
    start.LogMaxSize = 7;
    for (qsizetype length = 0; length < ExampleBytes.size(); ++length)
    {
        bool intact = true;
        const SettingsRecord r = DecodeSettings(ExampleBytes.left(length), start, &intact);
        SCOPED_TRACE(length);
        EXPECT_FALSE(intact);
        EXPECT_EQ(r.SettingsLoaded, length >= 6 ? True : 5);
        EXPECT_EQ(r.Sensitivity, length >= 14 ? 2.0 : 9.0);
        EXPECT_EQ(r.MaxFiles, length >= 18 ? 20 : 99);
        EXPECT_EQ(r.ImageDirectory, length >= 25 ? QStringLiteral("C:\\") : QStringLiteral("start"));
        EXPECT_EQ(r.LogMaxSize, 7);
    }
}

TEST(SettingsCodec, ATextWithControlCharactersIsReadAsEmptyAndTheFieldsAfterItKeepTheirStartValues)
{
    SettingsRecord start;
    start.SaveImage = 3;
    start.LogMaxSize = 5;
    for (const char16_t* text : {u"a\u0001b", u"tab\there", u"line\n", u"\u007F", u"C1 \u0085"})
    {
        SCOPED_TRACE(QString::fromUtf16(text).toStdString());
        SettingsRecord stored = ExampleRecord();
        stored.NotifyFile = QString::fromUtf16(text);
        bool intact = true;
        const SettingsRecord r = DecodeSettings(EncodeSettings(stored), start, &intact);
        EXPECT_FALSE(intact);
        EXPECT_EQ(r.ImageDirectory, QStringLiteral("C:\\")) << "the fields before it are read";
        EXPECT_TRUE(r.NotifyFile.isEmpty());
        EXPECT_EQ(r.SaveImage, 3);
        EXPECT_EQ(r.LogMaxSize, 5);
    }
}

TEST(SettingsCodec, BytesAfterTheRecordAreIgnored)
{
    EXPECT_EQ(DecodeSettings(ExampleBytes + QByteArray("leftover from a longer record")), ExampleRecord());
}

TEST(SettingsCodec, TextsAreUtf8AndWindowsBytesAreReadAsWindows1252)
{
    EXPECT_EQ(DecodeAnsi("Caf\xC3\xA9"), QStringLiteral("Caf\u00E9"));
    EXPECT_EQ(DecodeAnsi("Caf\xE9 \x80 \x93quoted\x94"),
              QStringLiteral("Caf\u00E9 \u20AC \u201Cquoted\u201D"));
    EXPECT_EQ(EncodeAnsi(QStringLiteral("Caf\u00E9")), QByteArray("Caf\xC3\xA9"));
    EXPECT_EQ(DecodeAnsi("\xEF\xBB\xBFx"), QStringLiteral("\uFEFFx")); // a leading byte order mark is kept

    SettingsRecord windows;
    QByteArray bytes = EncodeSettings(windows);
    bytes.replace(2, 2, QByteArray::fromHex("0300") + "C:\xE9");
    const SettingsRecord read = DecodeSettings(bytes);
    EXPECT_EQ(read.Reserved1, QStringLiteral("C:\u00E9"));
    EXPECT_EQ(DecodeSettings(EncodeSettings(read)), read);
}

TEST(SettingsCodec, TextLongerThanALengthWordHoldsIsCutAtACharacterBoundary)
{
    SettingsRecord r;
    r.LogFile = QString(40000, QChar(0x00E9)); // two bytes each in UTF-8: 80000 bytes
    const SettingsRecord read = DecodeSettings(EncodeSettings(r));
    EXPECT_EQ(read.LogFile, QString(32767, QChar(0x00E9)));
}

TEST(SettingsCodec, EveryPrefixOfARecordIsIncompleteAndRandomBytesDecodeSafely)
{
    std::mt19937 random(7);
    auto byte = [&random] { return static_cast<char>(random() & 0xFF); };
    for (int round = 0; round < 100000; ++round)
    {
        SettingsRecord r;
        r.MaxFiles = static_cast<std::int32_t>(random());
        r.ImageDirectory = QString(static_cast<int>(random() % 40), QChar('d'));
        r.POPServer = QString(static_cast<int>(random() % 40), QChar(0xE9));
        QByteArray bytes = EncodeSettings(r);
        bool complete = false;
        DecodeSettings(bytes, {}, &complete);
        ASSERT_TRUE(complete);
        const qsizetype cut = static_cast<qsizetype>(random() % static_cast<std::uint32_t>(bytes.size()));
        DecodeSettings(bytes.left(cut), {}, &complete);
        ASSERT_FALSE(complete) << "a record cut to " << cut << " bytes";

        // Mutated and random bytes: length words that run past the end, garbage numbers and texts.
        for (int flips = static_cast<int>(random() % 8); flips > 0; --flips)
            bytes[static_cast<qsizetype>(random() % static_cast<std::uint32_t>(bytes.size()))] = byte();
        DecodeSettings(bytes);
        QByteArray noise(static_cast<qsizetype>(random() % 200), '\0');
        std::generate(noise.begin(), noise.end(), byte);
        DecodeSettings(noise);
    }
}

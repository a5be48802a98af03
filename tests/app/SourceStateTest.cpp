#include "capture/window/CaptureWindow.h"
#include "support/ScriptedDriver.h"
#include "support/VantuHarness.h"
#include "ui/DateText.h"

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

namespace
{
struct StateStep
{
    SourceState State;
    // The log line the change adds, without the date; empty for none.
    const char* LogLine;
    // The text over the live view; empty while it is hidden.
    const char* Notice;
};
} // namespace

TEST(SourceStateTest, EachChangeIsLoggedOnceAndShownOverTheLiveView)
{
    ScopedScriptedDrivers drivers;
    VantuHarness h;
    SettingsRecord settings;
    settings.WriteLogFile = True;
    h.WriteSettings(settings);
    frmVantu& w = h.Start();
    auto* overlay = w.findChild<QLabel*>(QStringLiteral("lblSourceState"));
    ASSERT_NE(overlay, nullptr);
    EXPECT_TRUE(overlay->isHidden()) << "a driver that reports no state is live once opened";

    const QString cam = QStringLiteral("cam");
    const StateStep steps[] = {
        {{SourceStatus::Lost, cam, QStringLiteral("connection refused."), 1, 1},
         "Video lost: cam: connection refused : ",
         "No picture from cam: connection refused. Next try in 1 s (attempt 1)."},
        {{SourceStatus::Connecting, cam, {}, 1, 0}, "", "No picture from cam: reconnecting (attempt 1)..."},
        {{SourceStatus::Lost, cam, QStringLiteral("connection refused."), 2, 2},
         "",
         "No picture from cam: connection refused. Next try in 2 s (attempt 2)."},
        {{SourceStatus::Live, cam, {}, 2, 0}, "Video restored: cam : ", ""},
        {{SourceStatus::Ended, cam, {}, 0, 0},
         "Video ended: cam : ",
         "No picture from cam: the video ended."},
    };
    QByteArray expected = h.ReadAppFile(QStringLiteral("Vantu.Log"));
    for (const StateStep& step : steps)
    {
        SCOPED_TRACE(step.Notice);
        drivers.Camera().RaiseState(step.State);
        if (*step.LogLine != '\0')
            expected += QByteArray(">") + step.LogLine + GeneralDate(h.clock.now).toUtf8() + "\r\n";
        EXPECT_EQ(h.ReadAppFile(QStringLiteral("Vantu.Log")), expected);
        EXPECT_EQ(overlay->isHidden() ? QString() : overlay->text(), QString::fromUtf8(step.Notice));
    }

    drivers.Camera().RaiseState({SourceStatus::Lost, cam, QStringLiteral("refused"), 3, 2});
    QTRY_COMPARE(overlay->text(),
                 QStringLiteral("No picture from cam: refused. Next try in 1 s (attempt 3)."));
}

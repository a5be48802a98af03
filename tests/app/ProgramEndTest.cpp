#include "app/ProgramEnd.h"
#include "app/SingleInstance.h"
#include "notify/DispatchRig.h"
#include "notify/SmtpMailComponent.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTemporaryDir>
#include <cstdio>
#include <gtest/gtest.h>
#include <memory>

using namespace std::chrono_literals;

TEST(ProgramEnd, TheFolderIsFreeBeforeAHungMailIsCancelledWithinASecondAndLogged)
{
    QTemporaryDir runtime;
    const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    QTemporaryDir app;
    QString error;
    SingleInstance first(app.path());
    ASSERT_EQ(first.Start(&error), SingleInstance::Outcome::First) << error.toStdString();

    QTcpServer silent; // accepts and never answers
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    DispatchRig<SmtpMailComponent> rig(60s);
    rig.settings.POPServer = QStringLiteral("127.0.0.1:%1").arg(silent.serverPort());
    rig.dispatch.NotifyEmail(rig.Image(QStringLiteral("a.Bmp")));
    ASSERT_TRUE(silent.waitForNewConnection(5000));

    SingleInstance::Outcome laterStart = SingleInstance::Outcome::Failed;
    QObject::connect(&rig.mail, &MailComponent::Failed, &rig.mail,
                     [&]
                     {
                         SingleInstance later(app.path());
                         laterStart = later.Start(&error);
                     });
    QElapsedTimer timer;
    timer.start();
    EndProgram(first, rig.mail);
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_EQ(laterStart, SingleInstance::Outcome::First) << "a new start runs while the mail is cancelled";
    EXPECT_EQ(rig.log.filter(QStringLiteral("Email Error")),
              QStringList{QStringLiteral("Email Error: cancelled at exit: ") + NowText(rig.clock)});
    qputenv("XDG_RUNTIME_DIR", savedRuntime);
}

TEST(ProgramEnd, AnExitWithAReasonWritesItAsOneLine)
{
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> stream(std::tmpfile(), std::fclose);
    ASSERT_TRUE(stream);
    WriteExitReason(
        stream.get(),
        QStringLiteral("Vantu already runs with its files in \"/home/m\u00E9\", but it does not answer."));
    std::rewind(stream.get());
    char line[200] = {};
    ASSERT_NE(std::fgets(line, sizeof line, stream.get()), nullptr);
    EXPECT_EQ(
        QString::fromLocal8Bit(line),
        QStringLiteral(
            "vantu: Vantu already runs with its files in \"/home/m\u00E9\", but it does not answer.\n"));
}

#include "app/SingleInstance.h"
#include "support/TestFiles.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <thread>

namespace
{
// The sockets live in a runtime folder of the test's own.
struct Runtime
{
    Runtime() : saved(qgetenv("XDG_RUNTIME_DIR")) { qputenv("XDG_RUNTIME_DIR", folder.path().toLocal8Bit()); }
    ~Runtime() { qputenv("XDG_RUNTIME_DIR", saved); }

    QTemporaryDir folder;
    QByteArray saved;
};

// A later start of the program, which blocks while it waits for the answer: on a thread of its own, so
// that the first one answers from the test's event loop.
SingleInstance::Outcome StartLater(const QString& appDirectory, QSignalSpy& firstAsked)
{
    SingleInstance::Outcome outcome = SingleInstance::Outcome::Failed;
    std::thread later(
        [&]
        {
            QString error;
            SingleInstance second(appDirectory);
            outcome = second.Start(&error);
        });
    // The first answers within the handler the wait returns after.
    firstAsked.wait(10000);
    later.join();
    return outcome;
}
} // namespace

TEST(SingleInstance, ASecondStartOfTheSameFolderBringsTheFirstToTheFront)
{
    Runtime runtime;
    QTemporaryDir app, other;
    QString error;
    SingleInstance first(app.path());
    ASSERT_EQ(first.Start(&error), SingleInstance::Outcome::First) << error.toStdString();
    QSignalSpy asked(&first, &SingleInstance::ActivationRequested);

    EXPECT_EQ(StartLater(app.path() + "/.", asked), SingleInstance::Outcome::BroughtToFront);
    EXPECT_EQ(asked.count(), 1);

    SingleInstance beside(other.path());
    EXPECT_EQ(beside.Start(&error), SingleInstance::Outcome::First) << "another folder runs side by side";
    EXPECT_EQ(asked.count(), 1);
}

TEST(SingleInstance, TakesOverTheSocketAProgramThatEndedLeftBehind)
{
    Runtime runtime;
    QTemporaryDir app;
    ASSERT_TRUE(WriteTestFile(SingleInstance::ServerName(app.path()), "left behind"));
    QString error;
    SingleInstance first(app.path());
    ASSERT_EQ(first.Start(&error), SingleInstance::Outcome::First) << error.toStdString();
    QSignalSpy asked(&first, &SingleInstance::ActivationRequested);
    EXPECT_EQ(StartLater(app.path(), asked), SingleInstance::Outcome::BroughtToFront);
}

TEST(SingleInstance, ASecondStartWithMonitorAsksTheFirstToMonitorWithoutComingToTheFront)
{
    Runtime runtime;
    QTemporaryDir app;
    QString error;
    SingleInstance first(app.path());
    ASSERT_EQ(first.Start(&error), SingleInstance::Outcome::First) << error.toStdString();
    QSignalSpy front(&first, &SingleInstance::ActivationRequested);
    QSignalSpy monitor(&first, &SingleInstance::MonitorRequested);

    SingleInstance::Outcome outcome = SingleInstance::Outcome::Failed;
    std::thread later(
        [&]
        {
            SingleInstance second(app.path());
            QString laterError;
            outcome = second.Start(&laterError, {false, true});
        });
    monitor.wait(10000);
    later.join();
    EXPECT_EQ(outcome, SingleInstance::Outcome::BroughtToFront);
    EXPECT_EQ(monitor.count(), 1);
    EXPECT_EQ(front.count(), 0);
}

#include "notify/BoundaryNumbers.h"
#include "notify/DispatchRig.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace
{
using Operation = FakeMailComponent::Operation;
using Rig = DispatchRig<FakeMailComponent>;

Operation Str(int id, const QString& value)
{
    return {Operation::String, id, value};
}
Operation Long(int id, int value)
{
    return {Operation::Long, id, value};
}
Operation Method(int id)
{
    return {Operation::Method, id, {}};
}

// The operations one message takes: the login, then the component's fixed sequence.
std::vector<Operation> MessageOperations(const Rig& rig, const QString& image, const QString& boundary)
{
    const QString address = rig.settings.EmailAddress;
    return {Str(101, rig.settings.POPUser),
            Str(102, rig.settings.POPPassword),
            Str(20, rig.settings.POPServer),
            Method(53),
            Str(15, address),
            Str(28, QStringLiteral("Vantu Detection: ") + NowText(rig.clock)),
            Str(30, address),
            Long(16, 130),
            Str(11, QStringLiteral("multipart")),
            Str(8, QStringLiteral("mixed")),
            Str(9, QStringLiteral("boundary=") + boundary),
            Str(32, boundary),
            Long(3, 4),
            Long(3, 7),
            Str(10, QStringLiteral("base64")),
            Str(11, QStringLiteral("image")),
            Str(8, QStringLiteral("bmp")),
            Str(6, QStringLiteral("inline; filename=\"Detection.Bmp\"")),
            Str(27, image),
            Long(3, 9),
            Long(3, 2),
            Method(45)};
}

QString BoundaryOf(const std::vector<Operation>& operations)
{
    for (const Operation& operation : operations)
        if (operation.id == 32)
            return operation.value.toString();
    return {};
}
} // namespace

TEST(EmailDispatch, SendsAnImageAsTheComponentsSequenceAndLogsIt)
{
    Rig rig;
    const QString image = rig.Image(QStringLiteral("Detection_1-0.Bmp"));

    rig.dispatch.NotifyEmail(image);

    const QString boundary = BoundaryOf(rig.mail.operations);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{1,11}_boundary$")).match(boundary).hasMatch())
        << boundary.toStdString();
    EXPECT_EQ(rig.mail.operations, MessageOperations(rig, image, boundary));
    EXPECT_EQ(rig.log, QStringList{QStringLiteral("Emailed Image - ") + image + QStringLiteral(": ") +
                                   NowText(rig.clock)});
    EXPECT_EQ(rig.dispatch.MailState, 1);
    EXPECT_EQ(rig.connection.dials, 0);
    EXPECT_FALSE(rig.internetTimer.isActive());

    // A second image while the first is in the component is refused and leaves no trace.
    EXPECT_EQ(rig.dispatch.EmailImage(rig.Image(QStringLiteral("Detection_2-0.Bmp"))), False);
    EXPECT_EQ(rig.mail.operations.size(), MessageOperations(rig, image, boundary).size());
    EXPECT_EQ(rig.log.size(), 1);
}

TEST(EmailDispatch, MissingImageOrIncompleteSettingsSendNothing)
{
    Rig rig;
    rig.dispatch.NotifyEmail(rig.dir.filePath(QStringLiteral("deleted.Bmp")));
    rig.dispatch.NotifyEmail(rig.dir.path());
    EXPECT_TRUE(rig.mail.operations.empty());
    EXPECT_TRUE(rig.messages.shown.empty());
    EXPECT_EQ(rig.connection.tests, 0);

    for (QString SettingsRecord::*setting : {&SettingsRecord::POPServer, &SettingsRecord::POPUser,
                                             &SettingsRecord::POPPassword, &SettingsRecord::EmailAddress})
    {
        Rig incomplete;
        incomplete.connection.connected = false;
        incomplete.dispatch.NotifyEmail(incomplete.Image(QStringLiteral("parked.Bmp")));
        const QString image = incomplete.Image(QStringLiteral("new.Bmp"));
        incomplete.settings.*setting = QString();

        incomplete.dispatch.NotifyEmail(image);

        ASSERT_EQ(incomplete.messages.shown.size(), 1u);
        EXPECT_EQ(incomplete.messages.shown[0].Prompt, QStringLiteral("Insufficient Email Configuration."));
        EXPECT_EQ(incomplete.messages.shown[0].Style, MsgBoxStyle::OkOnly);
        EXPECT_TRUE(incomplete.messages.shown[0].Title.isEmpty());
        EXPECT_EQ(incomplete.connection.tests, 1) << "only the earlier, complete call tested the network";
        EXPECT_TRUE(incomplete.mail.operations.empty());
        EXPECT_EQ(incomplete.dispatch.PendingEmailImage,
                  incomplete.dir.filePath(QStringLiteral("parked.Bmp")));
        EXPECT_TRUE(incomplete.internetTimer.isActive());
        EXPECT_TRUE(incomplete.log.isEmpty());
    }
}

TEST(EmailDispatch, WithoutNetworkTheLatestImageWaitsForTheFirstTickThatFindsTheNetwork)
{
    for (const Flag autoConnect : {False, True})
    {
        Rig rig;
        rig.settings.AutoConnect = autoConnect;
        rig.connection.connected = false;
        const QString first = rig.Image(QStringLiteral("first.Bmp"));
        const QString second = rig.Image(QStringLiteral("second.Bmp"));

        rig.dispatch.NotifyEmail(first);
        rig.dispatch.NotifyEmail(second);
        EXPECT_EQ(rig.connection.dials, IsTrue(autoConnect) ? 2 : 0);
        EXPECT_EQ(rig.dispatch.PendingEmailImage, second);
        EXPECT_TRUE(rig.internetTimer.isActive());

        rig.dispatch.InternetTimer_Timer();
        EXPECT_EQ(rig.connection.tests, 3);
        EXPECT_TRUE(rig.mail.operations.empty());
        EXPECT_TRUE(rig.internetTimer.isActive());

        rig.connection.connected = true;
        rig.dispatch.InternetTimer_Timer();
        EXPECT_EQ(rig.mail.operations, MessageOperations(rig, second, BoundaryOf(rig.mail.operations)));
        EXPECT_TRUE(rig.dispatch.PendingEmailImage.isEmpty());
        EXPECT_FALSE(rig.internetTimer.isActive());
        EXPECT_EQ(rig.connection.dials, IsTrue(autoConnect) ? 2 : 0) << "a tick never dials";
    }
}

TEST(EmailDispatch, AParkedImageIsDroppedWhenTheComponentIsBusyAsTheNetworkComesUp)
{
    Rig rig;
    rig.dispatch.EmailImage(rig.Image(QStringLiteral("sending.Bmp")));
    rig.connection.connected = false;
    rig.dispatch.NotifyEmail(rig.Image(QStringLiteral("parked.Bmp")));
    const std::size_t before = rig.mail.operations.size();

    rig.connection.connected = true;
    rig.dispatch.InternetTimer_Timer();

    EXPECT_EQ(rig.mail.operations.size(), before);
    EXPECT_TRUE(rig.dispatch.PendingEmailImage.isEmpty());
    EXPECT_FALSE(rig.internetTimer.isActive());
}

TEST(EmailDispatch, ThreeDoneEventsMoveTheStateAndThePointerAndTellTheMessageSent)
{
    Rig rig;
    rig.dispatch.EmailImage(rig.Image(QStringLiteral("a.Bmp")));
    rig.mail.operations.clear();

    rig.mail.RaiseDone();
    EXPECT_EQ(rig.pointer.shape, PointerShape::Custom);
    EXPECT_EQ(rig.dispatch.MailState, 2);
    EXPECT_EQ(rig.started, 1);
    EXPECT_EQ(rig.mail.operations, (std::vector<Operation>{Long(16, 64), Long(3, 15)}));

    rig.mail.RaiseDone();
    EXPECT_EQ(rig.dispatch.MailState, 0);
    EXPECT_EQ(rig.pointer.shape, PointerShape::Custom);
    EXPECT_EQ(rig.mail.operations.back(), Long(3, 8));
    EXPECT_EQ(rig.ended, 0);

    rig.mail.RaiseDone();
    EXPECT_EQ(rig.pointer.shape, PointerShape::Default);
    EXPECT_EQ(rig.ended, 1);
    EXPECT_EQ(rig.mail.operations.size(), 3u);
}

TEST(EmailDispatch, FailuresAreLoggedWithTheDateAndWithoutThePassword)
{
    Rig rig;
    rig.mail.RaiseFailed(
        QStringLiteral("The mail server refused the login (its reply: 535 s3cret-Pa55 is wrong)"));
    EXPECT_EQ(rig.log,
              QStringList{QStringLiteral("Email Error: The mail server refused the login (its reply: 535 "
                                         "******** is wrong): ") +
                          NowText(rig.clock)});
    EXPECT_TRUE(rig.messages.shown.empty());
}

TEST(BoundaryNumbers, EveryRunAndEveryInstanceDrawsTheSameDigits)
{
    BoundaryNumbers first;
    BoundaryNumbers second;
    QStringList drawn;
    for (int i = 0; i < 1000; ++i)
    {
        const std::int64_t number = first.Next();
        ASSERT_EQ(number, second.Next());
        ASSERT_GE(number, 0);
        ASSERT_LT(number, 100000000000);
        drawn << QString::number(number);
    }
    drawn.removeDuplicates();
    EXPECT_GT(drawn.size(), 990);

    Rig one;
    Rig other;
    one.dispatch.EmailImage(one.Image(QStringLiteral("a.Bmp")));
    other.dispatch.EmailImage(other.Image(QStringLiteral("a.Bmp")));
    EXPECT_EQ(BoundaryOf(one.mail.operations), BoundaryOf(other.mail.operations));
    EXPECT_EQ(BoundaryOf(one.mail.operations), BoundaryNumbers().NextBoundary());
}

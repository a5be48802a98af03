#include "monitor/MonitorSession.h"
#include "capture/driver/DibFrame.h"
#include "capture/window/DibFile.h"
#include "common/Options.h"
#include "notify/EmailDispatch.h"
#include "notify/MailOperations.h"
#include "settings/SettingsFile.h"
#include "store/DetectionStore.h"
#include "support/Fakes.h"
#include "support/NotifyFakes.h"
#include "support/TestFiles.h"
#include "ui/DateText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <deque>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace
{
constexpr std::uint64_t Still = 1000;
constexpr std::uint64_t Moved = 1'000'000; // a jump far beyond the default sensitivity

// A monitoring session on fake services, fed frames the way the capture window hands them out: a grab
// takes the oldest frame waiting, if any, and hands it to the session before it returns.
class MonitorSessionTest : public ::testing::Test
{
protected:
    MonitorSessionTest()
    {
        ApplyStartValues(settings);
        ApplyDefaults(settings, dir.path(), dir.filePath(QStringLiteral("Notify.Wav")));
        WriteTestFile(settings.NotifyFile, "RIFF");
        settings.SoundNotify = True;
        settings.SaveImage = True;
        settings.EmailAddress = QStringLiteral("watch@example.org");
        settings.POPServer = QStringLiteral("127.0.0.1");
        settings.POPUser = QStringLiteral("watch");
        settings.POPPassword = QStringLiteral("secret");
    }

    MonitorSession& Start()
    {
        session = std::make_unique<MonitorSession>(MonitorSession::Ports{
            settings, options, clock, messages, pointer, sound, mail, connection,
            [this](const QString& line) { log << line; },
            [this]
            {
                if (waiting.empty())
                    return;
                frame.Resize(64, 48);
                frame.KnownByteSum = waiting.front();
                waiting.pop_front();
                session->FrameCallback(frame);
            },
            [this](const QString& path, QString* error) { return WriteDibFile(path, frame, error); },
            [this] { return dropped; }});
        session->CountStoredImages();
        return *session;
    }

    // One frame of the given byte sum, grabbed at once.
    void Frame(std::uint64_t sum)
    {
        waiting.push_back(sum);
        session->GrabTimer_Timer();
    }

    void EnterMonitorWithBaseline()
    {
        session->ModeChanged(ModeMonitor);
        for (int i = 0; i < 26; ++i)
            Frame(Still);
        last = Still;
    }

    // One frame that differs from the one before by far more than the sensitivity.
    void Detect()
    {
        last = last == Still ? Moved : Still;
        Frame(last);
    }

    QString ImageDirectory() const { return settings.ImageDirectory; }

    QStringList StoredImages() const
    {
        return QDir(ImageDirectory())
            .entryList({QStringLiteral("*.BMP")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    }

    // The values given to a property of the mail component, in order.
    QStringList MailValues(int property) const
    {
        QStringList values;
        for (const FakeMailComponent::Operation& operation : mail.operations)
            if (operation.id == property && operation.kind == FakeMailComponent::Operation::String)
                values << operation.value.toString();
        return values;
    }

    void FinishMail()
    {
        for (int done = 0; done < 3; ++done)
            mail.RaiseDone();
    }

    QStringList DetectionLines() const
    {
        return log.filter(QRegularExpression(QStringLiteral("^Detection: ")));
    }

    QString Line(const QString& outcome) const
    {
        return QStringLiteral("Detection: ") + GeneralDate(clock.now) + QStringLiteral(" : ") + outcome;
    }

    // The images handed to the mail component, in order.
    QStringList MailedImages() const
    {
        QStringList images;
        for (const FakeMailComponent::Operation& operation : mail.operations)
            if (operation.id == 27)
                images << operation.value.toString();
        return images;
    }

    QTemporaryDir dir;
    SettingsRecord settings;
    ProgramOptions options;
    FixedClock clock;
    FakeMessageBox messages;
    FakePointer pointer;
    FakeSoundPlayer sound;
    FakeMailComponent mail;
    FakeNetworkConnection connection;
    QStringList log;
    std::deque<std::uint64_t> waiting;
    DibFrame frame;
    std::uint64_t dropped = 0;
    std::unique_ptr<MonitorSession> session;
    std::uint64_t last = Still;
};

// The phases the session reported, in order.
std::vector<MonitorPhase> Phases(const QSignalSpy& spy)
{
    std::vector<MonitorPhase> phases;
    for (const QList<QVariant>& arguments : spy)
        phases.push_back(arguments.at(0).value<MonitorPhase>());
    return phases;
}
} // namespace

TEST_F(MonitorSessionTest, EachPictureIsNamedFromTheCountOfThoseBeforeItAndTheLimitHoldsExactly)
{
    settings.MaxFiles = 3;
    MonitorSession& s = Start();
    QSignalSpy counted(&s, &MonitorSession::DetectionCounted);
    QSignalSpy notices(&s, &MonitorSession::NoticeRaised);
    EnterMonitorWithBaseline();
    EXPECT_EQ(s.Phase(), MonitorPhase::Monitoring);

    QStringList expectedLines;
    for (const char* name : {"Detection_1-0.Bmp", "Detection_2-0.Bmp", "Detection_3-0.Bmp"})
    {
        Detect();
        expectedLines << Line(ImageDirectory() + QLatin1String(name) + QStringLiteral(" written."));
        EXPECT_EQ(QImage(ImageDirectory() + QLatin1String(name)).size(), QSize(64, 48))
            << name << " is a bitmap of the frame";
    }
    EXPECT_TRUE(notices.isEmpty());
    Detect();
    Detect();
    expectedLines << Line(QStringLiteral("No image file written, exceeded Max Files!"))
                  << Line(QStringLiteral("No image file written, exceeded Max Files!"));
    EXPECT_EQ(DetectionLines(), expectedLines);
    EXPECT_EQ(StoredImages().size(), 3);
    ASSERT_EQ(notices.size(), 1) << "the limit is told once, at the first picture not saved";
    EXPECT_TRUE(notices[0][0].toString().startsWith(
        QStringLiteral("File limit reached: no more pictures are saved (Max No. 3)")));
    ASSERT_EQ(counted.size(), 5);
    EXPECT_EQ(counted.last().at(0).toInt(), 5);
    EXPECT_EQ(sound.played.size(), 5);
    EXPECT_TRUE(MailedImages().isEmpty()) << "e-mail is off by default";
}

TEST_F(MonitorSessionTest, SaveImageOffWritesAndMailsNothingButStillCountsAndLogs)
{
    settings.SaveImage = False;
    settings.EmailNotify = True;
    for (const std::int32_t maxFiles : {20, -1}) // also when the limit is reached at the same time
    {
        settings.MaxFiles = maxFiles;
        MonitorSession& s = Start();
        EnterMonitorWithBaseline();
        Detect();
        EXPECT_TRUE(StoredImages().isEmpty());
        EXPECT_TRUE(MailedImages().isEmpty());
        EXPECT_EQ(DetectionLines().last(),
                  Line(QStringLiteral("No image file written, Save Image Disabled.")));
        EXPECT_EQ(s.DetectionCount(), 1);
    }
}

TEST_F(MonitorSessionTest, TheMailGoesOutWithThePathOfTheImageJustWritten)
{
    settings.EmailNotify = True;
    settings.MaxFiles = 1;
    Start();
    EnterMonitorWithBaseline();
    for (int i = 0; i < 2; ++i)
    {
        Detect(); // the second is over the limit: no image, no mail
        for (int done = 0; done < 3; ++done)
            mail.RaiseDone();
    }
    const QString first = ImageDirectory() + QStringLiteral("Detection_1-0.Bmp");
    EXPECT_EQ(MailedImages(), QStringList{first});
    EXPECT_EQ(DetectionLines()[0], Line(first + QStringLiteral(" written.")));
}

TEST_F(MonitorSessionTest, OtherBitmapsInTheFolderCountAndAGapOrARemovalShiftsTheNumbering)
{
    QDir().mkpath(ImageDirectory());
    for (const char* name : {"holiday.bmp", "Detection_2-0.Bmp", "Detection_3-0.Bmp", "notes.txt"})
        WriteTestFile(ImageDirectory() + QLatin1String(name), {});
    MonitorSession& s = Start();
    EXPECT_EQ(s.StoredFileCount(), 3);
    EnterMonitorWithBaseline();
    Detect();
    // With the foreign bitmap gone there are three pictures again, and the fourth name is taken.
    QFile::remove(ImageDirectory() + QStringLiteral("holiday.bmp"));
    Detect();
    Detect();
    for (const char* name : {"Detection_4-0.Bmp", "Detection_4-1.Bmp", "Detection_5-0.Bmp"})
        EXPECT_TRUE(QFile::exists(ImageDirectory() + QLatin1String(name))) << name;
}

TEST_F(MonitorSessionTest, NamesCountAndLimitFollowAFreshListingWhenFilesChangeFromOutside)
{
    settings.MaxFiles = 20;
    MonitorSession& s = Start();
    EnterMonitorWithBaseline();
    const struct
    {
        const char* Name;
        bool Add;
    } changes[] = {{"holiday.bmp", true}, {"Detection_1-0.Bmp", false}, {"x.BMP", true}, {"y.bmp", true}};
    for (const auto& change : changes)
    {
        Detect();
        const QString path = ImageDirectory() + QLatin1String(change.Name);
        if (change.Add)
            WriteTestFile(path, {});
        else
            QFile::remove(path);
        const auto fresh = static_cast<std::int32_t>(StoredImages().size());
        const std::optional<QString> expected = NextImagePath(ImageDirectory(), fresh);
        Detect();
        EXPECT_EQ(s.StoredFileCount(), fresh) << "after " << change.Name;
        EXPECT_TRUE(expected && QFile::exists(*expected)) << "after " << change.Name;
    }
    // Bitmaps put in from outside count against the limit at once.
    for (int i = 0; i < 15; ++i)
        WriteTestFile(ImageDirectory() + QStringLiteral("Other_%1.bmp").arg(i), {});
    Detect();
    EXPECT_EQ(DetectionLines().last(), Line(QStringLiteral("No image file written, exceeded Max Files!")));
}

TEST_F(MonitorSessionTest, EveryFrameIsAnalysedOnceAndTheTimerRestsUntilTheNextOne)
{
    MonitorSession& s = Start();
    s.ModeChanged(ModeMonitor);
    EXPECT_TRUE(s.GrabTimer().isActive());
    for (int i = 0; i < 25; ++i)
    {
        waiting.push_back(Still);
        s.FrameWaiting();
        EXPECT_TRUE(s.GrabTimer().isActive());
        s.GrabTimer_Timer();
        EXPECT_FALSE(s.GrabTimer().isActive());
        s.GrabTimer_Timer(); // finds no frame
    }
    EXPECT_EQ(s.Detector().FrameCount, 25) << "25 frames over 50 ticks make 25 baseline frames";
    EXPECT_EQ(s.FramesAnalysed(), 25u);

    s.ModeChanged(ModePreview);
    s.FrameWaiting();
    EXPECT_FALSE(s.GrabTimer().isActive()) << "a frame outside Monitor mode starts no grabbing";
}

TEST_F(MonitorSessionTest, AFrameThatCannotBeSavedIsNeitherLoggedAsWrittenNorMailedAndIsToldOnceUntilASuccess)
{
    settings.EmailNotify = True;
    MonitorSession& s = Start();
    QSignalSpy notices(&s, &MonitorSession::NoticeRaised);
    EnterMonitorWithBaseline();
    // A file size limit below a bitmap's size stands in for a full disk.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto detectWithFullDisk = [&]
    {
        rlimit tight = saved;
        tight.rlim_cur = 4000;
        ::setrlimit(RLIMIT_FSIZE, &tight);
        Detect();
        ::setrlimit(RLIMIT_FSIZE, &saved);
    };
    const QString failed = Line(QStringLiteral("No image file written, save failed: File too large!"));

    detectWithFullDisk();
    detectWithFullDisk();
    ASSERT_EQ(notices.size(), 1) << "told once";
    EXPECT_TRUE(notices[0][0].toString().contains(QStringLiteral("File too large")));
    Detect();
    for (int done = 0; done < 3; ++done)
        mail.RaiseDone();
    detectWithFullDisk();
    EXPECT_EQ(notices.size(), 2) << "told again after a success";

    const QString written = ImageDirectory() + QStringLiteral("Detection_1-0.Bmp");
    EXPECT_EQ(DetectionLines(),
              (QStringList{failed, failed, Line(written + QStringLiteral(" written.")), failed}));
    EXPECT_EQ(StoredImages(), QStringList{QStringLiteral("Detection_1-0.Bmp")}) << "no partial file is left";
    EXPECT_EQ(MailedImages(), QStringList{written});
    EXPECT_EQ(s.DetectionCount(), 4);
}

TEST_F(MonitorSessionTest, FineTuningOnlyPlaysTheSoundAndFramesInPreviewAndViewAreIgnored)
{
    for (const Flag soundOn : {True, False})
    {
        settings.SoundNotify = soundOn;
        sound.played.clear();
        last = Still;
        MonitorSession& s = Start();
        QSignalSpy measured(&s, &MonitorSession::ChangeMeasured);
        s.ModeChanged(ModeFineTune);
        for (int i = 0; i < 26; ++i)
            Frame(Still);
        EXPECT_EQ(s.Phase(), MonitorPhase::Tuning);
        for (int i = 0; i < 3; ++i)
            Detect();
        EXPECT_EQ(sound.played.size(), IsTrue(soundOn) ? 3 : 0);
        EXPECT_TRUE(StoredImages().isEmpty());
        EXPECT_TRUE(DetectionLines().isEmpty());
        EXPECT_EQ(s.DetectionCount(), 0);
        ASSERT_EQ(measured.size(), 4);
        EXPECT_TRUE(measured.last().at(1).toBool());

        const DetectorState before = s.Detector();
        for (const Mode mode : {ModePreview, ModeView})
        {
            s.ModeChanged(mode);
            Frame(last == Still ? Moved : Still);
            EXPECT_EQ(s.Detector().LastFrameSum, before.LastFrameSum);
            EXPECT_EQ(s.Detector().FrameCount, before.FrameCount);
        }
        EXPECT_EQ(measured.size(), 4);
    }
}

TEST_F(MonitorSessionTest, PhasesFollowTheBaselineTheMailAndTheMode)
{
    settings.EmailNotify = True;
    MonitorSession& s = Start();
    QSignalSpy phases(&s, &MonitorSession::PhaseChanged);
    s.ModeChanged(ModeMonitor);
    EXPECT_EQ(pointer.Pointer(), PointerShape::Hourglass);
    Frame(Still);
    EXPECT_EQ(s.Phase(), MonitorPhase::Initializing);
    for (int i = 0; i < 25; ++i)
        Frame(Still);
    EXPECT_EQ(pointer.Pointer(), PointerShape::Default);
    EXPECT_EQ(Phases(phases), (std::vector{MonitorPhase::Initializing, MonitorPhase::Monitoring}));

    Detect();
    EXPECT_EQ(s.Mail().MailState, 1);
    mail.RaiseDone();
    EXPECT_EQ(s.Phase(), MonitorPhase::Emailing);
    EXPECT_EQ(pointer.Pointer(), PointerShape::Custom);
    mail.RaiseDone();
    mail.RaiseDone();
    EXPECT_EQ(s.Phase(), MonitorPhase::Monitoring);
    EXPECT_EQ(pointer.Pointer(), PointerShape::Default);

    // A mode change while the message is on its way keeps the mode's own phase.
    Detect();
    mail.RaiseDone();
    s.ModeChanged(ModePreview);
    mail.RaiseDone();
    mail.RaiseDone();
    EXPECT_EQ(s.Phase(), MonitorPhase::Idle);
    EXPECT_EQ(MailedImages().size(), 2);
}

TEST_F(MonitorSessionTest, MonitorModeIsLoggedOnEntryAndOnItsEndOnlyWhileItWatched)
{
    settings.EmailNotify = True;
    MonitorSession& s = Start();
    const QString now = GeneralDate(clock.now);
    const QString entered = QStringLiteral("Entered Monitor Mode: ") + now;
    const QString exited = QStringLiteral("Exited Monitor Mode: ") + now;

    s.ModeChanged(ModeMonitor);
    s.ModeChanged(ModePreview); // the baseline was not complete yet: no exit line
    EnterMonitorWithBaseline();
    s.ModeChanged(ModePreview);
    EnterMonitorWithBaseline();
    s.ModeChanged(ModeMonitor); // again, and left before a frame came: it still watched
    s.ModeChanged(ModePreview);
    EXPECT_EQ(log, (QStringList{entered, entered, exited, entered, entered, exited}));

    log.clear();
    EnterMonitorWithBaseline();
    Detect();
    mail.RaiseDone(); // the message is being sent
    s.ModeChanged(ModePreview);
    EnterMonitorWithBaseline();
    s.ModeChanged(ModeView);
    s.ModeChanged(ModePreview);
    EXPECT_EQ(log.filter(QStringLiteral("Monitor Mode")), (QStringList{entered, entered}))
        << "no exit line while e-mailing or when leaving for View";
}

TEST_F(MonitorSessionTest, ABoxOpensAfterTheDetectionAndDetectionsUnderItAreHandledWithoutAnother)
{
    settings.EmailNotify = True;
    settings.POPPassword.clear();
    MonitorSession& s = Start();
    EnterMonitorWithBaseline();
    std::int64_t sumWhenShown = 0;
    messages.onShow = [&](const FakeMessageBox::Shown&)
    {
        sumWhenShown = s.Detector().LastFrameSum;
        Detect();
        Detect();
    };
    Detect();
    EXPECT_TRUE(messages.shown.empty()) << "no box inside the frame's handling";
    EXPECT_EQ(s.Detector().LastFrameSum, static_cast<std::int64_t>(Moved));
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(messages.shown.size(), 1u) << "no box is stacked on the open one";
    EXPECT_EQ(messages.shown[0].Prompt, InsufficientEmailConfigurationText);
    EXPECT_EQ(sumWhenShown, static_cast<std::int64_t>(Moved))
        << "the box found the first frame handled in full";
    EXPECT_EQ(s.DetectionCount(), 3);
    EXPECT_EQ(StoredImages().size(), 3);
    EXPECT_EQ(DetectionLines().size(), 3);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(messages.shown.size(), 1u) << "boxes asked for under the open one are not shown later";
}

TEST_F(MonitorSessionTest, AMissingFolderIsMadeAndOneThatCannotBeMadePausesSavingUntilItWorks)
{
    settings.ImageDirectory = dir.filePath(QStringLiteral("a/b/Pictures/"));
    MonitorSession& s = Start();
    QSignalSpy notices(&s, &MonitorSession::NoticeRaised);
    EXPECT_TRUE(QFileInfo(ImageDirectory()).isDir()) << "made with the folders above it";
    EnterMonitorWithBaseline();
    QDir(dir.filePath(QStringLiteral("a"))).removeRecursively(); // vanished while monitoring
    Detect();
    EXPECT_TRUE(QFile::exists(ImageDirectory() + QStringLiteral("Detection_1-0.Bmp")));

    // A plain file where the folder should be: nothing is written anywhere, and monitoring goes on.
    QDir(dir.filePath(QStringLiteral("a/b"))).removeRecursively();
    WriteTestFile(dir.filePath(QStringLiteral("a/b")), "in the way");
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    Detect();
    Detect();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    EXPECT_TRUE(s.SavingPaused());
    EXPECT_EQ(s.DetectionCount(), 3);
    const QString reason = QDir::toNativeSeparators(dir.filePath(QStringLiteral("a/b"))) +
                           QStringLiteral(" is a file, not a folder");
    EXPECT_EQ(DetectionLines().last(),
              Line(QStringLiteral("No image file written, save failed: ") + reason + QStringLiteral("!")));
    ASSERT_EQ(notices.size(), 1) << "told once";
    EXPECT_TRUE(notices[0][0].toString().contains(reason));
    EXPECT_TRUE(messages.shown.empty()) << "the box opens after the detection";
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].Prompt.contains(QDir::toNativeSeparators(ImageDirectory())));

    QFile::remove(dir.filePath(QStringLiteral("a/b")));
    Detect();
    EXPECT_FALSE(s.SavingPaused());
    EXPECT_TRUE(DetectionLines().last().endsWith(QStringLiteral("Pictures/Detection_1-0.Bmp written.")));
    EXPECT_EQ(notices.size(), 2) << "the user is told that saving goes on";
}

TEST_F(MonitorSessionTest, DetectionsLessThanTheGapApartFormOneEventThatEndsWithItsLogLine)
{
    options.EventGapSeconds = 10;
    options.LogEvents = true;
    MonitorSession& s = Start();
    QSignalSpy started(&s, &MonitorSession::EventStarted);
    QSignalSpy ended(&s, &MonitorSession::EventEnded);
    EnterMonitorWithBaseline();
    const QDateTime first = clock.now;
    Detect();
    clock.now = clock.now.addSecs(9);
    Detect();
    const QDateTime last = clock.now;
    EXPECT_EQ(s.CurrentEvent()->FirstPicture, ImageDirectory() + QStringLiteral("Detection_1-0.Bmp"));
    clock.now = clock.now.addSecs(10);
    Detect();
    ASSERT_EQ(started.size(), 2) << "the third detection came a whole gap after the second";
    ASSERT_EQ(ended.size(), 1);
    EXPECT_EQ(log.filter(QStringLiteral("Event: ")),
              QStringList{
                  QStringLiteral("Event: %1 - %2, 2 detections").arg(GeneralDate(first), GeneralDate(last))});
    s.ModeChanged(ModePreview);
    EXPECT_EQ(ended.size(), 2) << "leaving Monitor mode ends the event going on";
    EXPECT_EQ(ended.last().at(0).value<DetectionEvent>().Detections, 1);
    EXPECT_TRUE(log.last().startsWith(QStringLiteral("Exited Monitor Mode: ")));
}

TEST_F(MonitorSessionTest, OutsideTheScheduleAndWhilePausedMonitorModeRestsAndLogsItsRests)
{
    options.Schedule = QStringLiteral("mon-fri 08:00-18:00");
    clock.now = QDateTime(QDate(1999, 12, 7), QTime(19, 0)); // a Tuesday evening
    Start();
    QSignalSpy rests(&session->Rest(), &MonitorRest::RestChanged);
    EnterMonitorWithBaseline();
    for (int i = 0; i < 4; ++i)
        Detect();
    EXPECT_TRUE(DetectionLines().isEmpty());
    ASSERT_EQ(rests.count(), 1);
    EXPECT_EQ(rests[0][1].toString(), QStringLiteral("Waiting for the schedule (next at 08:00)"));
    EXPECT_EQ(log.filter(QStringLiteral("Resting outside the schedule: ")).size(), 1);

    clock.now = QDateTime(QDate(1999, 12, 8), QTime(8, 0));
    EnterMonitorWithBaseline();
    Detect();
    EXPECT_EQ(DetectionLines().size(), 1) << "a new baseline, then watching";

    session->Rest().PauseFor(30);
    Detect();
    EXPECT_EQ(DetectionLines().size(), 1);
    EXPECT_EQ(rests.last()[1].toString(), QStringLiteral("Alerts paused until 08:30"));
    clock.now = clock.now.addSecs(30 * 60);
    for (int i = 0; i < 27; ++i)
        Detect();
    EXPECT_GT(DetectionLines().size(), 1);
    EXPECT_EQ(log.filter(QStringLiteral("Monitoring again after resting: ")).size(), 1);
}

TEST_F(MonitorSessionTest, AMaskThatCannotBeReadIsToldOnceAndTheWholePictureIsWatched)
{
    options.MaskPath = dir.filePath(QStringLiteral("Missing.png"));
    MonitorSession& s = Start();
    QSignalSpy notices(&s, &MonitorSession::NoticeRaised);
    EnterMonitorWithBaseline();
    s.ModeChanged(ModePreview);
    EnterMonitorWithBaseline();
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices.first().at(0).toString().contains(QStringLiteral("Missing.png")));
    Detect();
    EXPECT_EQ(s.DetectionCount(), 1);
}

TEST_F(MonitorSessionTest, WithTheByteSumAndNoMaskEveryFrameIsJudgedAsTheClassicDetectorJudgesIt)
{
    MonitorSession& s = Start();
    QSignalSpy measured(&s, &MonitorSession::ChangeMeasured);
    s.ModeChanged(ModeFineTune);
    const std::vector<std::uint64_t> sums = {1000, 900'000, 650'000, 650'001, 100, 5'000'000, 4'800'000};
    DetectorState classic;
    std::vector<DetectorStep> expected;
    for (int i = 0; i < 25; ++i)
    {
        Frame(1000);
        StepDetector(classic, 1000, settings.Sensitivity);
    }
    for (const std::uint64_t sum : sums)
    {
        Frame(sum);
        expected.push_back(StepDetector(classic, static_cast<std::int64_t>(sum), settings.Sensitivity));
    }
    ASSERT_EQ(measured.size(), static_cast<qsizetype>(sums.size()));
    for (std::size_t i = 0; i < sums.size(); ++i)
    {
        EXPECT_DOUBLE_EQ(measured.at(static_cast<qsizetype>(i)).at(0).toDouble(), expected[i].Change)
            << sums[i];
        EXPECT_EQ(measured.at(static_cast<qsizetype>(i)).at(1).toBool(), expected[i].Detected) << sums[i];
    }
}

TEST_F(MonitorSessionTest, EachFormatIsWrittenUnderItsNameWithItsContentsAndMailedWithItsType)
{
    settings.EmailNotify = True;
    const struct
    {
        PictureFormat Format;
        const char* Name;
        const char* Type;
        const char* Attached;
    } formats[] = {{PictureFormat::Bmp, "Detection_1-0.Bmp", "bmp", "inline; filename=\"Detection.Bmp\""},
                   {PictureFormat::Jpeg, "Detection_1-0.jpg", "jpeg", "inline; filename=\"Detection.jpg\""},
                   {PictureFormat::Png, "Detection_1-0.png", "png", "inline; filename=\"Detection.png\""}};
    for (const auto& format : formats)
    {
        options.Format = format.Format;
        settings.ImageDirectory = dir.filePath(QLatin1String(format.Type) + QChar('/'));
        mail.operations.clear();
        Start();
        // The left half red, the right half blue, in the bitmap's blue-green-red order.
        frame.Resize(64, 48);
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x)
                frame.TopDownRow(y)[x * 3 + (x < 32 ? 2 : 0)] = 255;
        EnterMonitorWithBaseline();
        Detect();
        const QString path = ImageDirectory() + QLatin1String(format.Name);
        EXPECT_EQ(DetectionLines().last(), Line(path + QStringLiteral(" written.")));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !MailValues(MailProperty::AttachmentFile).isEmpty(); }))
            << format.Name << " is mailed once written";
        QImageReader reader(path);
        EXPECT_EQ(reader.format(), QByteArray(format.Type));
        const QImage picture = reader.read();
        ASSERT_EQ(picture.size(), QSize(64, 48)) << format.Name;
        EXPECT_NEAR(qRed(picture.pixel(8, 8)), 255, 8) << format.Name;
        EXPECT_NEAR(qBlue(picture.pixel(56, 40)), 255, 8) << format.Name;
        EXPECT_NEAR(qRed(picture.pixel(56, 40)), 0, 8) << format.Name;
        EXPECT_EQ(MailValues(MailProperty::AttachmentFile), QStringList{path});
        EXPECT_EQ(MailValues(MailProperty::MediaSubtype).last(), QLatin1String(format.Type));
        EXPECT_EQ(MailValues(MailProperty::Disposition), QStringList{QLatin1String(format.Attached)});
        FinishMail();
    }
}

TEST_F(MonitorSessionTest, PicturesOfEveryFormatCountAgainstTheLimitAndTakeTheNumbering)
{
    settings.MaxFiles = 4;
    options.Format = PictureFormat::Jpeg;
    QDir().mkpath(ImageDirectory());
    for (const char* name : {"Detection_1-0.Bmp", "Detection_2-0.PNG", "Event_2026-01-01_10-00-00.mkv"})
        WriteTestFile(ImageDirectory() + QLatin1String(name), {});
    MonitorSession& s = Start();
    EXPECT_EQ(s.StoredFileCount(), 2);
    EnterMonitorWithBaseline();
    Detect();
    Detect(); // the first is still being written: it counts, and its name is taken
    Detect();
    const QString third = ImageDirectory() + QStringLiteral("Detection_3-0.jpg");
    const QString fourth = ImageDirectory() + QStringLiteral("Detection_4-0.jpg");
    EXPECT_EQ(
        DetectionLines(),
        (QStringList{Line(third + QStringLiteral(" written.")), Line(fourth + QStringLiteral(" written.")),
                     Line(QStringLiteral("No image file written, exceeded Max Files!"))}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(third) && QFile::exists(fourth); }));
}

TEST_F(MonitorSessionTest, ReplaceOldestDeletesTheOldestPicturesSoThatTheNewestIsKept)
{
    settings.MaxFiles = 3;
    options.WhenFullAction = WhenFull::ReplaceOldest;
    MonitorSession& s = Start();
    EnterMonitorWithBaseline();
    QStringList written;
    for (int i = 0; i < 6; ++i)
    {
        Detect();
        written
            << DetectionLines().last().section(QStringLiteral(" : "), 1).remove(QStringLiteral(" written."));
        // Each picture a second after the one before, whatever the file system's clock gives.
        QFile file(written.last());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite)) << qPrintable(written.last());
        file.setFileTime(QDateTime(QDate(2026, 1, 1), QTime(10, 0, i)), QFileDevice::FileModificationTime);
    }
    EXPECT_EQ(s.StoredFileCount(), 3);
    QStringList newest = written.mid(3);
    newest.sort(Qt::CaseInsensitive);
    QStringList kept;
    for (const QString& name : StoredImages())
        kept << ImageDirectory() + name;
    EXPECT_EQ(kept, newest);
}

TEST_F(MonitorSessionTest, TheDiskFloorStopsSavingOrMakesRoomWithTheOldestPicturesAndClips)
{
    constexpr std::int64_t MB = 1024 * 1024;
    QDir().mkpath(ImageDirectory());
    const QString clip = ImageDirectory() + QStringLiteral("Event_2026-01-01_09-00-00.mkv");
    const QString picture = ImageDirectory() + QStringLiteral("Detection_1-0.Bmp");
    for (const QString& path : {clip, picture})
    {
        WriteTestFile(path, {});
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.setFileTime(QDateTime(QDate(2026, 1, 1), QTime(path == clip ? 9 : 10, 0)),
                         QFileDevice::FileModificationTime);
    }
    // A disk just below the floor, where each file deleted frees a megabyte.
    const auto files = [&] { return QDir(ImageDirectory()).entryList(QDir::Files).size(); };
    const qsizetype before = files();
    std::int64_t extra = 0;
    const FreeSpaceQuery freeBytes = [&](const QString&)
    { return std::optional<std::int64_t>(500 * MB - 1 + extra + (before - files()) * MB); };

    MonitorSession& s = Start();
    s.UseFreeSpace(freeBytes);
    QSignalSpy notices(&s, &MonitorSession::NoticeRaised);
    EnterMonitorWithBaseline();
    Detect();
    Detect();
    EXPECT_TRUE(DetectionLines().last().contains(QStringLiteral("save failed: the disk ")));
    EXPECT_TRUE(DetectionLines().last().endsWith(QStringLiteral(" has less than 500 MB free!")));
    ASSERT_EQ(notices.size(), 1) << "told once";
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].Prompt.contains(QStringLiteral("has less than 500 MB free")));
    EXPECT_EQ(files(), before) << "with stop nothing is deleted";
    extra = MB;
    Detect();
    EXPECT_EQ(notices.size(), 2) << "the user is told that saving goes on";
    EXPECT_TRUE(DetectionLines().last().endsWith(QStringLiteral(" written.")));

    extra = 0;
    options.WhenFullAction = WhenFull::ReplaceOldest;
    QFile::remove(ImageDirectory() + QStringLiteral("Detection_2-0.Bmp"));
    Detect();
    EXPECT_FALSE(QFile::exists(clip)) << "the oldest file, a clip, made room";
    EXPECT_TRUE(QFile::exists(picture));
    EXPECT_TRUE(DetectionLines().last().endsWith(QStringLiteral("Detection_2-0.Bmp written.")));
}

TEST_F(MonitorSessionTest, WithFirstPicturesEachEventKeepsOnlyItsFirstPicture)
{
    options.Pictures = EventPictures::First;
    MonitorSession& s = Start();
    EnterMonitorWithBaseline();
    for (int event = 0; event < 2; ++event)
    {
        for (int i = 0; i < 3; ++i)
        {
            Detect();
            clock.now = clock.now.addSecs(2);
        }
        clock.now = clock.now.addSecs(options.EventGapSeconds);
        s.EventTimer_Timer();
    }
    EXPECT_EQ(StoredImages(),
              (QStringList{QStringLiteral("Detection_1-0.Bmp"), QStringLiteral("Detection_2-0.Bmp")}));
    const QStringList lines = DetectionLines();
    ASSERT_EQ(lines.size(), 6);
    for (const int skipped : {1, 2, 4, 5})
        EXPECT_TRUE(lines[skipped].endsWith(QStringLiteral("the event's picture is saved already.")))
            << skipped;
}

TEST_F(MonitorSessionTest, PerEventMailSendsTheFirstPictureOfEachEventAndNoneIsLostWhileOneIsSent)
{
    settings.EmailNotify = True;
    options.Mail = EventMail::PerEvent;
    Start();
    EnterMonitorWithBaseline();
    Detect();
    Detect();
    clock.now = clock.now.addSecs(options.EventGapSeconds + 1);
    Detect(); // a new event while the first one's message is still being sent
    Detect();
    const QString first = ImageDirectory() + QStringLiteral("Detection_1-0.Bmp");
    const QString third = ImageDirectory() + QStringLiteral("Detection_3-0.Bmp");
    EXPECT_EQ(MailedImages(), QStringList{first});
    FinishMail();
    EXPECT_EQ(MailedImages(), (QStringList{first, third})) << "the second event's message follows";
    const QStringList texts = MailValues(MailProperty::BodyText);
    ASSERT_EQ(texts.size(), 2);
    EXPECT_TRUE(texts[0].contains(GeneralDate(clock.now.addSecs(-options.EventGapSeconds - 1))));
    EXPECT_TRUE(texts[1].contains(QStringLiteral("more detections may follow")));
}

TEST_F(MonitorSessionTest, AnEventIsAnnouncedOnceItsFirstPictureCanBeRead)
{
    options.Format = PictureFormat::Jpeg;
    MonitorSession& s = Start();
    QStringList readable;
    QObject::connect(&s, &MonitorSession::EventStarted,
                     [&](const DetectionEvent& event) {
                         readable << (QImage(event.FirstPicture.value_or(QString())).isNull() ? "no" : "yes");
                     });
    EnterMonitorWithBaseline();
    Detect();
    Detect();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !readable.isEmpty(); }));
    EXPECT_EQ(readable, QStringList{"yes"});
}

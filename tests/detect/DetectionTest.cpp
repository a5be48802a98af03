#include "store/DetectionStore.h"
#include "support/ScriptedDriver.h"
#include "support/VantuHarness.h"
#include "ui/DateText.h"
#include "ui/Notice.h"
#include "ui/StatusPanels.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTimer>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace
{
constexpr std::uint64_t Still = 1000;
constexpr std::uint64_t Moved = 1'000'000; // a jump far beyond the default sensitivity

class DetectionTest : public ::testing::Test
{
protected:
    DetectionTest()
    {
        drivers.Camera().Size = QSize(64, 48);
        settings.SoundNotify = True;
        settings.SaveImage = True;
        settings.WriteLogFile = True;
        settings.LogMaxSize = 1000;
        settings.NotifyFile = h.AppFile(QStringLiteral("Notify.Wav"));
        h.WriteAppFile(QStringLiteral("Notify.Wav"), "RIFF");
        settings.EmailAddress = QStringLiteral("watch@example.org");
        settings.POPServer = QStringLiteral("127.0.0.1");
        settings.POPUser = QStringLiteral("watch");
        settings.POPPassword = QStringLiteral("secret");
    }

    frmVantu& Start()
    {
        h.WriteSettings(settings);
        window = &h.Start();
        return *window;
    }

    // The images handed to the mail component, in order.
    QStringList MailedImages() const
    {
        QStringList images;
        for (const FakeMailComponent::Operation& operation : h.mail.operations)
            if (operation.id == 27)
                images << operation.value.toString();
        return images;
    }

    QString ImageDirectory() const { return h.dir.path() + QStringLiteral("/Detections/"); }

    void Frame(std::uint64_t sum)
    {
        drivers.Camera().QueueFrame(sum);
        window->GrabTimer_Timer();
    }

    void EnterMonitorWithBaseline()
    {
        window->ChangeMode(ModeMonitor);
        for (int i = 0; i < 26; ++i)
            Frame(Still);
        last_ = Still;
    }

    // One frame that differs from the one before by far more than the sensitivity.
    void Detect()
    {
        last_ = last_ == Still ? Moved : Still;
        Frame(last_);
    }

    QStringList DetectionLines()
    {
        QStringList lines;
        for (const QByteArray& line : h.ReadAppFile(QStringLiteral("Vantu.Log")).split('\n'))
            if (line.startsWith(">Detection: "))
                lines << QString::fromUtf8(line.trimmed());
        return lines;
    }

    QString Line(const QString& outcome) const
    {
        return QStringLiteral(">Detection: ") + GeneralDate(h.clock.now) + QStringLiteral(" : ") + outcome;
    }

    QStringList StoredImages() const
    {
        return QDir(ImageDirectory())
            .entryList({QStringLiteral("*.BMP")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    }

    ScopedScriptedDrivers drivers;
    VantuHarness h;
    SettingsRecord settings;
    frmVantu* window = nullptr;
    std::uint64_t last_ = Still;
};
} // namespace

TEST_F(DetectionTest, ImagesAreNamedFromTheLaggingCountAndEveryDetectionIsCountedAndLogged)
{
    frmVantu& w = Start();
    EnterMonitorWithBaseline();
    EXPECT_EQ(w.Ui().StatusBar1->Text(1), QStringLiteral("Monitoring..."));
    EXPECT_EQ(w.Ui().StatusBar1->Text(3), QStringLiteral("Detections: 0"));

    QStringList expectedLines;
    int count = 0;
    for (const char* name :
         {"Detection_1-0.Bmp", "Detection_1-1.Bmp", "Detection_2-0.Bmp", "Detection_3-0.Bmp"})
    {
        Detect();
        ++count;
        EXPECT_EQ(w.Ui().StatusBar1->Text(3), QStringLiteral("Detections: %1").arg(count));
        expectedLines << Line(ImageDirectory() + QLatin1String(name) + QStringLiteral(" written."));
        const QImage image(ImageDirectory() + QLatin1String(name));
        EXPECT_EQ(image.size(), QSize(64, 48)) << name << " is a bitmap of the frame";
    }
    EXPECT_EQ(DetectionLines(), expectedLines);
    EXPECT_EQ(h.sound.played.size(), 4);
    EXPECT_TRUE(MailedImages().isEmpty()) << "e-mail is off by default";
}

TEST_F(DetectionTest, MaxFilesPlusOneImagesAreWrittenBeforeTheLimitStopsThem)
{
    settings.MaxFiles = 3;
    frmVantu& w = Start();
    EnterMonitorWithBaseline();
    auto* notice = w.findChild<Notice*>(QStringLiteral("Notice"));
    ASSERT_NE(notice, nullptr);
    for (int i = 0; i < 6; ++i)
    {
        Detect();
        EXPECT_EQ(!notice->isHidden(), i == 4) << "the notice comes once, at the first picture not saved";
        notice->hide();
    }
    EXPECT_TRUE(notice->text().startsWith(
        QStringLiteral("File limit reached: no more pictures are saved (Max No. 3)")));
    EXPECT_EQ(StoredImages().size(), 4);
    const QStringList lines = DetectionLines();
    ASSERT_EQ(lines.size(), 6);
    EXPECT_TRUE(lines[3].endsWith(QStringLiteral(" written.")));
    EXPECT_EQ(lines[4], Line(QStringLiteral("No image file written, exceeded Max Files!")));
    EXPECT_EQ(lines[5], Line(QStringLiteral("No image file written, exceeded Max Files!")));
    EXPECT_EQ(w.Ui().StatusBar1->Text(3), QStringLiteral("Detections: 6"));
}

TEST_F(DetectionTest, SaveImageOffWritesAndMailsNothingButStillCountsAndLogs)
{
    settings.SaveImage = False;
    settings.EmailNotify = True;
    for (const std::int32_t maxFiles : {20, -1}) // also when the limit is reached at the same time
    {
        settings.MaxFiles = maxFiles;
        frmVantu& w = Start();
        EnterMonitorWithBaseline();
        Detect();
        EXPECT_TRUE(StoredImages().isEmpty());
        EXPECT_TRUE(MailedImages().isEmpty());
        EXPECT_EQ(DetectionLines().last(),
                  Line(QStringLiteral("No image file written, Save Image Disabled.")));
        EXPECT_EQ(w.Ui().StatusBar1->Text(3), QStringLiteral("Detections: 1"));
    }
}

TEST_F(DetectionTest, TheMailGoesOutWithThePathOfTheImageJustWritten)
{
    settings.EmailNotify = True;
    settings.MaxFiles = 1;
    Start();
    EnterMonitorWithBaseline();
    for (int i = 0; i < 3; ++i)
    {
        Detect(); // the third is over the limit: no image, no mail
        for (int done = 0; done < 3; ++done)
            emit h.mail.Done();
    }
    const QString first = ImageDirectory() + QStringLiteral("Detection_1-0.Bmp");
    const QString second = ImageDirectory() + QStringLiteral("Detection_1-1.Bmp");
    EXPECT_EQ(MailedImages(), (QStringList{first, second}));
    EXPECT_EQ(DetectionLines()[0], Line(first + QStringLiteral(" written.")));
}

TEST_F(DetectionTest, OtherBitmapsInTheFolderCountAndShiftTheNumbering)
{
    QDir().mkpath(ImageDirectory());
    for (const char* name : {"holiday.bmp", "Detection_2-0.Bmp", "Detection_3-0.Bmp", "notes.txt"})
        QFile(ImageDirectory() + QLatin1String(name)).open(QIODevice::WriteOnly);
    frmVantu& w = Start();
    EXPECT_EQ(w.StoredFileCount(), 3);
    EnterMonitorWithBaseline();
    Detect();
    EXPECT_TRUE(QFile::exists(ImageDirectory() + QStringLiteral("Detection_4-0.Bmp")));
    // With the foreign bitmap gone, each refresh counts 3 again until the new images make up for it.
    QFile::remove(ImageDirectory() + QStringLiteral("holiday.bmp"));
    Detect();
    Detect();
    EXPECT_TRUE(QFile::exists(ImageDirectory() + QStringLiteral("Detection_4-1.Bmp")));
    EXPECT_TRUE(QFile::exists(ImageDirectory() + QStringLiteral("Detection_4-2.Bmp")));
}

TEST_F(DetectionTest, NamesCountAndLimitFollowAFreshListingWhenFilesChangeFromOutside)
{
    settings.MaxFiles = 20;
    frmVantu& w = Start();
    EnterMonitorWithBaseline();
    const auto outside = [&](const char* name, bool add)
    {
        if (add)
            QFile(ImageDirectory() + QLatin1String(name)).open(QIODevice::WriteOnly);
        else
            QFile::remove(ImageDirectory() + QLatin1String(name));
    };
    const struct
    {
        const char* Name;
        bool Add;
    } changes[] = {{"holiday.bmp", true}, {"Detection_1-0.Bmp", false}, {"x.BMP", true}, {"y.bmp", true}};
    for (const auto& change : changes)
    {
        Detect();
        outside(change.Name, change.Add);
        const std::int32_t before = w.StoredFileCount();
        const qsizetype fresh = StoredImages().size();
        const std::optional<QString> expected = NextImagePath(ImageDirectory(), before);
        Detect();
        EXPECT_EQ(w.StoredFileCount(), fresh) << "after " << change.Name;
        EXPECT_TRUE(expected && QFile::exists(*expected)) << "after " << change.Name;
    }
    // Bitmaps put in from outside count against the limit from the next refresh on.
    for (int i = 0; i < 15; ++i)
        QFile(ImageDirectory() + QStringLiteral("Other_%1.bmp").arg(i)).open(QIODevice::WriteOnly);
    Detect();
    EXPECT_TRUE(DetectionLines().last().endsWith(QStringLiteral(" written.")));
    EXPECT_GE(w.StoredFileCount(), 20);
    Detect();
    EXPECT_EQ(DetectionLines().last(), Line(QStringLiteral("No image file written, exceeded Max Files!")));
}

TEST_F(DetectionTest, EveryFrameIsAnalysedOnceAndTheTimerRestsUntilTheNextOne)
{
    frmVantu& w = Start();
    w.ChangeMode(ModeMonitor);
    for (int i = 0; i < 25; ++i)
    {
        drivers.Camera().QueueFrame(Still);
        drivers.Camera().AnnounceFrame();
        EXPECT_TRUE(w.Ui().GrabTimer->isActive());
        w.GrabTimer_Timer();
        EXPECT_FALSE(w.Ui().GrabTimer->isActive());
        w.GrabTimer_Timer(); // finds no frame
    }
    EXPECT_EQ(w.Detector().FrameCount, 25) << "25 frames over 50 ticks make 25 baseline frames";
    drivers.Camera().QueueFrame(Still);
    drivers.Camera().AnnounceFrame();
    w.GrabTimer_Timer();
    EXPECT_EQ(w.Detector().FrameCount, 26);

    w.ChangeMode(ModePreview);
    drivers.Camera().AnnounceFrame();
    EXPECT_FALSE(w.Ui().GrabTimer->isActive()) << "a frame outside Monitor mode starts no grabbing";
}

TEST_F(DetectionTest, AGapInTheNumbersMakesTheNextNameTakeTheNextCounter)
{
    QDir().mkpath(ImageDirectory());
    for (const char* name : {"Detection_2-0.Bmp", "Detection_3-0.Bmp"}) // Detection_1-0.Bmp was deleted
        QFile(ImageDirectory() + QLatin1String(name)).open(QIODevice::WriteOnly);
    Start();
    EnterMonitorWithBaseline();
    Detect();
    EXPECT_TRUE(QFile::exists(ImageDirectory() + QStringLiteral("Detection_3-1.Bmp")));
}

TEST_F(DetectionTest, AFrameThatCannotBeSavedIsNeitherLoggedAsWrittenNorMailed)
{
    settings.ImageDirectory = QStringLiteral("/proc/"); // listed fine, but no file can be created there
    settings.EmailNotify = True;
    frmVantu& w = Start();
    ASSERT_FALSE(w.IsUnloaded());
    EnterMonitorWithBaseline();
    Detect();
    EXPECT_EQ(
        DetectionLines(),
        QStringList{Line(QStringLiteral("No image file written, save failed: No such file or directory!"))});
    EXPECT_TRUE(MailedImages().isEmpty());
    EXPECT_EQ(w.Ui().StatusBar1->Text(3), QStringLiteral("Detections: 1"));
}

TEST_F(DetectionTest, FineTuningOnlyAsksForTheSound)
{
    for (const Flag sound : {True, False})
    {
        settings.SoundNotify = sound;
        h.sound.played.clear();
        frmVantu& w = Start();
        w.Ui().mnuFineTune->trigger();
        for (int i = 0; i < 26; ++i)
            Frame(Still);
        for (int i = 0; i < 3; ++i)
            Detect();
        EXPECT_EQ(h.sound.played.size(), IsTrue(sound) ? 3 : 0);
        EXPECT_TRUE(StoredImages().isEmpty());
        EXPECT_TRUE(DetectionLines().isEmpty());
        EXPECT_EQ(w.Ui().StatusBar1->Text(3), QStringLiteral("Detections: 0"));
        EXPECT_EQ(w.DetectionCount(), 0);
    }
}

TEST_F(DetectionTest, FramesInPreviewAndViewLeaveTheDetectorAlone)
{
    frmVantu& w = Start();
    EnterMonitorWithBaseline();
    const DetectorState before = w.Detector();
    for (const Mode mode : {ModePreview, ModeView})
    {
        w.ChangeMode(mode);
        Frame(Moved);
        EXPECT_EQ(w.Detector().FrameCount, before.FrameCount);
        EXPECT_EQ(w.Detector().LastFrameSum, before.LastFrameSum);
        EXPECT_EQ(w.Detector().FrameTotal, before.FrameTotal);
    }
    EXPECT_EQ(h.sound.played.size(), 0);
}

TEST_F(DetectionTest, ADetectionInsideAMessageBoxIsHandledInFullAndTheOuterFrameStaysTheReference)
{
    frmVantu& w = Start();
    EnterMonitorWithBaseline();
    // A modal box inside the first detection lets one more frame through.
    bool nested = false;
    h.messages.onShow = [&](const FakeMessageBox::Shown&)
    {
        if (nested)
            return;
        nested = true;
        Frame(Still);
    };
    // Any box will do: make the log writer show one by removing the log file name.
    w.Settings().LogFile.clear();
    Detect(); // Moved: the detection's log entry shows the box, during which a Still frame arrives
    EXPECT_TRUE(nested);
    EXPECT_EQ(w.DetectionCount(), 2) << "the nested frame was a detection too";
    EXPECT_EQ(w.Detector().LastFrameSum, static_cast<std::int64_t>(Moved)) << "the outer frame's sum wins";
}

TEST(ImageNames, CounterStopsWhenEveryNameIsTaken)
{
    EXPECT_EQ(DetectionImageName(1, 0), QStringLiteral("Detection_1-0.Bmp"));
    EXPECT_EQ(DetectionImageName(2147483648LL, 12), QStringLiteral("Detection_2147483648-12.Bmp"));
    EXPECT_EQ(NextImagePath(QStringLiteral("/d/"), 0, [](const QString&) { return false; }),
              QStringLiteral("/d/Detection_1-0.Bmp"));
    EXPECT_EQ(NextImagePath(QStringLiteral("/d/"), 4,
                            [](const QString& path) { return !path.endsWith(QStringLiteral("-3.Bmp")); }),
              QStringLiteral("/d/Detection_5-3.Bmp"));
    EXPECT_EQ(NextImagePath(QStringLiteral("/d/"), 2147483647, [](const QString&) { return false; }),
              QStringLiteral("/d/Detection_2147483648-0.Bmp"))
        << "the largest count does not wrap";
    int asked = 0;
    EXPECT_EQ(NextImagePath(QStringLiteral("/d/"), 0,
                            [&](const QString&)
                            {
                                ++asked;
                                return true;
                            }),
              std::nullopt);
    EXPECT_EQ(asked, 32768);
}

TEST_F(DetectionTest, TheThreeDoneEventsOfAMessageShowEmailingAndThenMonitoringAgain)
{
    settings.EmailNotify = True;
    frmVantu& w = Start();
    EnterMonitorWithBaseline();
    const auto done = [this] { emit h.mail.Done(); };

    Detect();
    EXPECT_EQ(w.MailState(), 1);
    done();
    EXPECT_EQ(h.pointer.Pointer(), PointerShape::Custom);
    EXPECT_EQ(w.Ui().StatusBar1->Text(1), QStringLiteral("Emailing..."));
    done();
    EXPECT_EQ(w.MailState(), 0);
    done();
    EXPECT_EQ(h.pointer.Pointer(), PointerShape::Default);
    EXPECT_EQ(w.Ui().StatusBar1->Text(1), QStringLiteral("Monitoring..."));

    // A mode change while the message is on its way keeps its own text.
    Detect();
    done();
    w.ChangeMode(ModePreview);
    done();
    done();
    EXPECT_EQ(w.Ui().StatusBar1->Text(1), QStringLiteral("Previewing..."));
    EXPECT_EQ(MailedImages().size(), 2);
}

TEST_F(DetectionTest, DetectionsUnderAnOpenBoxAreHandledWithoutOpeningAnother)
{
    settings.EmailNotify = True;
    settings.POPPassword.clear();
    frmVantu& w = Start();
    EnterMonitorWithBaseline();
    h.messages.onShow = [this](const FakeMessageBox::Shown&)
    {
        Detect();
        Detect();
    };
    Detect();
    ASSERT_EQ(h.messages.shown.size(), 1u) << "no box is stacked on the open one";
    EXPECT_EQ(h.messages.shown[0].Prompt, QStringLiteral("Insufficient Email Configuration."));
    EXPECT_EQ(w.DetectionCount(), 3);
    EXPECT_EQ(StoredImages().size(), 3);
    EXPECT_EQ(DetectionLines().size(), 3);
}

TEST_F(DetectionTest, AFailedSaveLogsItsReasonAndIsShownOnceUntilASaveSucceeds)
{
    frmVantu& w = Start();
    EnterMonitorWithBaseline();
    auto* notice = w.findChild<Notice*>(QStringLiteral("Notice"));
    ASSERT_NE(notice, nullptr);
    // A file size limit below a bitmap's size stands in for a full disk; the log's lines still fit.
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
    EXPECT_FALSE(notice->isHidden());
    EXPECT_TRUE(notice->text().contains(QStringLiteral("File too large")));
    notice->hide();
    detectWithFullDisk();
    EXPECT_TRUE(notice->isHidden()) << "told once";
    Detect();
    detectWithFullDisk();
    EXPECT_FALSE(notice->isHidden()) << "told again after a success";

    const QStringList lines = DetectionLines();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], failed);
    EXPECT_EQ(lines[1], failed);
    EXPECT_TRUE(lines[2].endsWith(QStringLiteral("Detection_1-0.Bmp written.")));
    EXPECT_EQ(lines[3], failed);
    EXPECT_EQ(StoredImages(), QStringList{QStringLiteral("Detection_1-0.Bmp")}) << "no partial file is left";
}

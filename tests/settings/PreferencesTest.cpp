#include "common/Options.h"
#include "common/SettingsRecord.h"
#include "settings/AlertsTab.h"
#include "settings/DetectionTab.h"
#include "settings/EventsTab.h"
#include "settings/FolderTree.h"
#include "settings/LogFileTab.h"
#include "settings/NotificationTab.h"
#include "settings/UpDown.h"
#include "settings/frmPreferences.h"
#include "support/Fakes.h"
#include "support/NotifyFakes.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <deque>
#include <gtest/gtest.h>

namespace
{
// Types text into a box key by key, as a user does.
void Type(QLineEdit* box, const QString& text)
{
    for (const QChar c : text)
    {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &press);
    }
}

void Erase(QLineEdit* box, int count)
{
    for (int i = 0; i < count; ++i)
    {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
        QApplication::sendEvent(box, &press);
    }
}

class PreferencesTest : public ::testing::Test
{
protected:
    PreferencesTest()
    {
        for (const char* folder : {"volA/app", "volA/pictures/old", "volB/cam"})
            QDir(dir.path()).mkpath(QLatin1String(folder));
        settings.Sensitivity = 2.0;
        settings.MaxFiles = 20;
        settings.LogMaxSize = 1;
        settings.SoundNotify = True;
        settings.SaveImage = True;
        settings.ImageDirectory = Path("volA/pictures");
        settings.NotifyFile = Path("volA/app/Notify.Wav");
        settings.LogFile = Path("volA/app/Vantu.Log");
        settings.POPPassword = QStringLiteral("s3cret");
    }

    QString Path(const QString& relative) const { return dir.path() + QChar('/') + relative; }

    frmPreferences& Open()
    {
        dialog = std::make_unique<frmPreferences>(frmPreferences::Links{
            settings, nullptr, [this] { ++saves; }, [] {}, [] {}, messages, Path("volA/app"),
            [this](QWidget*, const QString& folder, const QString& filter)
            {
                pickedFrom = folder;
                pickFilter = filter;
                const QString name = picked.front();
                picked.pop_front();
                return name;
            },
            [this] {
                return QStringList{Path("volA"), Path("volB"), Path("gone")};
            },
            sound, options, [this] { ++optionSaves; }});
        dialog->Form_Load();
        dialog->show();
        return *dialog;
    }

    DetectionTab& Detection() { return *dialog->Detection; }
    NotificationTab& Notification() { return *dialog->Notification; }
    LogFileTab& Log() { return *dialog->LogFile; }

    QTemporaryDir dir;
    SettingsRecord settings;
    FakeMessageBox messages;
    int saves = 0;
    ProgramOptions options;
    int optionSaves = 0;
    std::deque<QString> picked;
    QString pickedFrom;
    QString pickFilter;
    FakeSoundPlayer sound;
    std::unique_ptr<frmPreferences> dialog;
};
} // namespace

TEST_F(PreferencesTest, OpeningFillsEveryControlAndAddsTheSeparatorToTheImageFolder)
{
    frmPreferences& d = Open();
    QStringList tabs;
    for (int i = 0; i < d.SSTab1->count(); ++i)
        tabs.append(d.SSTab1->tabText(i));
    EXPECT_EQ(tabs, (QStringList{"Video", "Detection", "Notification", "Log File", "Events", "Alerts"}));

    EXPECT_EQ(settings.ImageDirectory, Path("volA/pictures/"));
    EXPECT_EQ(Detection().txtImageDirectory->text(), Path("volA/pictures/"));
    EXPECT_EQ(Detection().Dir1->Path(), Path("volA/pictures"));
    EXPECT_EQ(Detection().Drive1->currentText(), Path("volA"));
    EXPECT_EQ(Detection().txtMaxFiles->text(), QStringLiteral("20"));
    EXPECT_EQ(Log().txtLogSize->text(), QStringLiteral("1"));
    EXPECT_EQ(Log().txtLogFile->text(), settings.LogFile);
    EXPECT_EQ(Notification().txtNotifyFile->text(), settings.NotifyFile);
    EXPECT_EQ(Notification().txtPOPPassword->displayText(), QStringLiteral("******"));
    EXPECT_TRUE(Notification().chkSoundNotify->isChecked());
    EXPECT_TRUE(Notification().txtNotifyFile->isEnabled());
    EXPECT_FALSE(Notification().chkEmail->isChecked());
    EXPECT_FALSE(Notification().txtEmailAddress->isEnabled());
    EXPECT_TRUE(Notification().chkAutoConnect->isEnabled());
    EXPECT_FALSE(Log().chkLogFile->isChecked());
    EXPECT_FALSE(Log().cmdViewLog->isEnabled());

    d.Form_Unload();
    EXPECT_EQ(saves, 1) << "closing without any change still saves";
}

TEST_F(PreferencesTest, AMissingImageFolderShowsItsNearestParentAndKeepsTheStoredPath)
{
    settings.ImageDirectory = Path("volA/pictures/old/not/there/");
    Open();
    EXPECT_EQ(Detection().Dir1->Path(), Path("volA/pictures/old"));
    EXPECT_EQ(Detection().txtImageDirectory->text(), Path("volA/pictures/old/not/there/"));
    EXPECT_EQ(settings.ImageDirectory, Path("volA/pictures/old/not/there/"));
}

TEST_F(PreferencesTest, EachCheckBoxSetsItsFlagAndEnablesItsControls)
{
    Open();
    struct Case
    {
        const char* name;
        std::function<void(bool)> check;
        Flag SettingsRecord::*flag;
        std::vector<QWidget*> followers; // enabled exactly when checked
        std::vector<QWidget*> stay;      // enabled whatever the box
    };
    const std::vector<Case> cases = {
        {"chkSaveImage",
         [&](bool on) { Detection().chkSaveImage->setChecked(on); },
         &SettingsRecord::SaveImage,
         {},
         {Detection().txtMaxFiles, Detection().UpDown1, Detection().txtImageDirectory, Detection().Drive1,
          Detection().Dir1}},
        {"chkSoundNotify",
         [&](bool on) { Notification().chkSoundNotify->setChecked(on); },
         &SettingsRecord::SoundNotify,
         {Notification().txtNotifyFile, Notification().cmdNotifyFile},
         {}},
        {"chkEmail",
         [&](bool on) { Notification().chkEmail->setChecked(on); },
         &SettingsRecord::EmailNotify,
         {Notification().txtEmailAddress, Notification().txtPOPServer, Notification().txtPOPUser,
          Notification().txtPOPPassword},
         {Notification().chkAutoConnect}},
        {"chkAutoConnect",
         [&](bool on) { Notification().chkAutoConnect->setChecked(on); },
         &SettingsRecord::AutoConnect,
         {},
         {}},
        {"chkLogFile",
         [&](bool on) { Log().chkLogFile->setChecked(on); },
         &SettingsRecord::WriteLogFile,
         {Log().cmdViewLog, Log().cmdClearLog, Log().cmdLogFile, Log().txtLogFile, Log().txtLogSize},
         {Log().UpDown2}},
    };
    for (const Case& c : cases)
    {
        for (const bool on : {true, false, true})
        {
            SCOPED_TRACE(testing::Message() << c.name << (on ? " checked" : " unchecked"));
            c.check(on);
            EXPECT_EQ(settings.*c.flag, on ? True : False);
            for (QWidget* follower : c.followers)
                EXPECT_EQ(follower->isEnabled(), on) << follower->objectName().toStdString();
            for (QWidget* control : c.stay)
                EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
        }
    }
}

TEST_F(PreferencesTest, TypingIntoATextBoxSetsItsSettingAsTyped)
{
    Open();
    Notification().chkEmail->setChecked(true);
    Log().chkLogFile->setChecked(true);
    const std::vector<std::pair<QLineEdit*, QString SettingsRecord::*>> boxes = {
        {Notification().txtNotifyFile, &SettingsRecord::NotifyFile},
        {Notification().txtEmailAddress, &SettingsRecord::EmailAddress},
        {Notification().txtPOPServer, &SettingsRecord::POPServer},
        {Notification().txtPOPUser, &SettingsRecord::POPUser},
        {Notification().txtPOPPassword, &SettingsRecord::POPPassword},
        {Log().txtLogFile, &SettingsRecord::LogFile}};
    for (const auto& [box, setting] : boxes)
    {
        SCOPED_TRACE(box->objectName().toStdString());
        box->clear();
        Type(box, QStringLiteral(" a b "));
        EXPECT_EQ(settings.*setting, QStringLiteral(" a b ")) << "no trimming";
    }
    EXPECT_EQ(Notification().txtPOPPassword->displayText(), QStringLiteral("*****"));
}

TEST_F(PreferencesTest, TheImageFolderBoxAlwaysEndsWithTheSeparator)
{
    Open();
    QLineEdit* box = Detection().txtImageDirectory;
    box->clear();
    EXPECT_EQ(box->text(), QStringLiteral("/"));
    EXPECT_EQ(settings.ImageDirectory, QStringLiteral("/"));

    box->selectAll();
    Type(box, Path("cam"));
    EXPECT_EQ(settings.ImageDirectory, Path("cam/")) << "the caret stays before the separator";
    Erase(box, 3);
    Type(box, QStringLiteral("pics"));
    EXPECT_EQ(box->text(), Path("pics/"));
}

TEST_F(PreferencesTest, AnImageFolderThatCannotBeMadeIsShownInvalidAndNotKept)
{
    WriteTestFile(Path("plain"), "a file, not a folder");
    Open();
    QLineEdit* box = Detection().txtImageDirectory;
    box->selectAll();
    Type(box, Path("plain/cam"));
    EXPECT_FALSE(settings.ImageDirectory.startsWith(Path("plain"))) << settings.ImageDirectory.toStdString();
    EXPECT_TRUE(box->toolTip().contains(QStringLiteral("is a file, not a folder")));
    Erase(box, 9);
    Type(box, QStringLiteral("new/cam"));
    EXPECT_EQ(settings.ImageDirectory, Path("new/cam/")) << "a folder that can be made is kept, not made yet";
    EXPECT_FALSE(QFileInfo::exists(Path("new")));
    EXPECT_TRUE(box->toolTip().isEmpty());
}

TEST_F(PreferencesTest, TheFolderTreeNeverChoosesAFolderByItselfWhenTheShownOneVanishes)
{
    Open();
    FolderTree* tree = Detection().Dir1;
    ASSERT_EQ(tree->Path(), Path("volA/pictures"));
    QDir(Path("volA/pictures")).removeRecursively();
    // The tree learns of the removal from its file system watcher.
    for (int wait = 0; wait < 100 && tree->Path() == Path("volA/pictures"); ++wait)
        QTest::qWait(50);
    EXPECT_NE(tree->Path(), Path("volA/pictures")) << "the tree noticed the removal";
    EXPECT_EQ(settings.ImageDirectory, Path("volA/pictures/"));
}

TEST_F(PreferencesTest, PickingAFolderOrAVolumeSetsTheImageFolder)
{
    Open();
    DetectionTab& t = Detection();
    QTest::keyClick(t.Dir1, Qt::Key_Home); // the volume's root, at the top of the tree
    EXPECT_EQ(settings.ImageDirectory, Path("volA/"));

    t.Drive1->setCurrentIndex(t.Drive1->findText(Path("volB")));
    EXPECT_EQ(t.Dir1->Path(), Path("volB"));
    EXPECT_EQ(settings.ImageDirectory, Path("volB/"));

    emit t.Dir1->Picked(Path("volB/cam"));
    EXPECT_EQ(t.txtImageDirectory->text(), Path("volB/cam/"));

    t.Drive1->setCurrentIndex(t.Drive1->findText(Path("gone")));
    EXPECT_EQ(t.Drive1->currentText(), Path("volA")) << "back to the program's own volume";
    EXPECT_EQ(settings.ImageDirectory, Path("volB/cam/")) << "a volume that cannot be read changes nothing";
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PreferencesTest, NumberBoxesTakeOnlyWholeNumbersFrom0To99999)
{
    Open();
    Log().chkLogFile->setChecked(true);
    struct Case
    {
        QString text;
        std::optional<std::int32_t> value;
    };
    const std::vector<Case> cases = {
        {"0", 0},   {"99999", 99999}, {" 42 ", 42}, {"", {}},    {"100000", {}},
        {"-1", {}}, {"12a", {}},      {"abc", {}},  {"1.5", {}}, {"99999999999999999999", {}}};
    for (const auto& [box, setting] : {std::pair{Detection().txtMaxFiles, &SettingsRecord::MaxFiles},
                                       std::pair{Log().txtLogSize, &SettingsRecord::LogMaxSize}})
    {
        for (const Case& c : cases)
        {
            SCOPED_TRACE(testing::Message()
                         << box->objectName().toStdString() << " \"" << c.text.toStdString() << '"');
            box->setText(QStringLiteral("7"));
            box->setText(c.text);
            EXPECT_EQ(settings.*setting, c.value.value_or(7));
            EXPECT_EQ(box->toolTip().isEmpty(), c.value.has_value()) << "a refused text is marked";
            emit box->editingFinished();
            EXPECT_EQ(box->text(), c.value ? c.text : QStringLiteral("7"))
                << "leaving the box shows the setting";
            EXPECT_TRUE(box->toolTip().isEmpty());
        }
    }
}

TEST_F(PreferencesTest, SpinControlsStepWithin0And99999)
{
    Open();
    struct Case
    {
        QString start;
        int steps;
        QString result;
    };
    for (const auto& [box, spin] : {std::pair{Detection().txtMaxFiles, Detection().UpDown1},
                                    std::pair{Log().txtLogSize, Log().UpDown2}})
    {
        for (const Case& c : {Case{"99998", 3, "99999"}, Case{"1", -3, "0"}, Case{"5", 1, "6"}})
        {
            SCOPED_TRACE(testing::Message()
                         << box->objectName().toStdString() << " " << c.start.toStdString());
            box->setText(c.start);
            for (int i = 0; i < std::abs(c.steps); ++i)
                (c.steps > 0 ? spin->Up : spin->Down)->click();
            EXPECT_EQ(box->text(), c.result);
        }
        box->setText(QStringLiteral("oops"));
        spin->Up->click();
        EXPECT_EQ(box->text(), QStringLiteral("7")) << "steps from the last number the box held";
    }
    EXPECT_EQ(settings.MaxFiles, 7);
    EXPECT_EQ(settings.LogMaxSize, 7);
}

TEST_F(PreferencesTest, AFilePickerFillsItsBoxAndACancelLeavesIt)
{
    Open();
    Log().chkLogFile->setChecked(true);
    for (const auto& [button, box, setting] :
         {std::tuple{Notification().cmdNotifyFile, Notification().txtNotifyFile, &SettingsRecord::NotifyFile},
          std::tuple{Log().cmdLogFile, Log().txtLogFile, &SettingsRecord::LogFile}})
    {
        SCOPED_TRACE(button->objectName().toStdString());
        ASSERT_TRUE(WriteTestFile(Path("chosen.wav"), TestWav(10)));
        picked = {Path("chosen.wav"), QString()};
        button->click();
        EXPECT_EQ(box->text(), Path("chosen.wav"));
        EXPECT_EQ(settings.*setting, Path("chosen.wav"));
        button->click();
        EXPECT_EQ(box->text(), Path("chosen.wav")) << "cancelled";
    }
}

TEST_F(PreferencesTest, TheSoundChooserOpensInTheSoundsFolderAndTakesOnlyPlayableWavFiles)
{
    ASSERT_TRUE(WriteTestFile(Path("volB/cam/bell.wav"), TestWav(10)));
    ASSERT_TRUE(WriteTestFile(Path("volB/cam/compressed.wav"), TestWav(10, 2)));
    ASSERT_TRUE(WriteTestFile(Path("volB/cam/notes.txt"), "not a sound"));
    Open();
    const QString start = settings.NotifyFile;
    for (const char* refused : {"volB/cam/notes.txt", "volB/cam/compressed.wav", "volB/cam/missing.wav"})
    {
        SCOPED_TRACE(refused);
        messages.shown.clear();
        picked = {Path(refused)};
        Notification().cmdNotifyFile->click();
        EXPECT_EQ(pickedFrom, Path("volA/app"));
        EXPECT_TRUE(pickFilter.contains(QStringLiteral("*.wav")));
        EXPECT_EQ(settings.NotifyFile, start);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_TRUE(messages.shown[0].Prompt.contains(Path(refused)));
    }
    messages.shown.clear();
    picked = {Path("volB/cam/bell.wav")};
    Notification().cmdNotifyFile->click();
    EXPECT_EQ(settings.NotifyFile, Path("volB/cam/bell.wav"));
    EXPECT_TRUE(messages.shown.empty());

    Notification().cmdPlaySound->click();
    EXPECT_EQ(sound.played, QStringList{Path("volB/cam/bell.wav")});
}

TEST_F(PreferencesTest, TheLogButtonsShowTheLogFileAndClearTheApplicationFoldersLog)
{
    settings.WriteLogFile = True;
    settings.LogFile = Path("elsewhere.log");
    QFile elsewhere(settings.LogFile);
    ASSERT_TRUE(elsewhere.open(QIODevice::WriteOnly));
    elsewhere.write(">shown\r\n");
    elsewhere.close();
    Open();

    messages.answers = {MsgBoxResult::Yes};
    Log().cmdClearLog->click();
    QFile cleared(Path("volA/app/Vantu.Log"));
    ASSERT_TRUE(cleared.open(QIODevice::ReadOnly));
    EXPECT_EQ(cleared.readAll(), QByteArray("\r\n"));
    EXPECT_EQ(settings.WriteLogFile, True) << "clearing leaves logging on";

    QString title;
    QTimer::singleShot(0,
                       [&title]
                       {
                           QWidget* viewer = QApplication::activeModalWidget();
                           ASSERT_NE(viewer, nullptr);
                           title = viewer->windowTitle();
                           viewer->close();
                       });
    Log().cmdViewLog->click();
    EXPECT_EQ(title, QStringLiteral("Vantu Log"));
    EXPECT_EQ(messages.shown.size(), 2u) << "the question and the confirmation; the viewer found its file";
}

TEST_F(PreferencesTest, TheAlertsTabStoresOnlyValidTextAndItsBoxFollowsTheAutostartEntry)
{
    const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", Path("config").toLocal8Bit());
    Open();
    AlertsTab& alerts = *dialog->findChild<AlertsTab*>();
    qputenv("XDG_CONFIG_HOME", savedConfig);

    Type(alerts.txtSchedule, QStringLiteral("mon-fri 8"));
    EXPECT_TRUE(options.Schedule.isEmpty()) << "an invalid schedule is never stored";
    EXPECT_FALSE(alerts.txtSchedule->styleSheet().isEmpty());
    EXPECT_FALSE(alerts.lblScheduleProblem->isHidden());
    Type(alerts.txtSchedule, QStringLiteral(":00-18:00"));
    EXPECT_EQ(options.Schedule, QStringLiteral("mon-fri 8:00-18:00"));
    EXPECT_TRUE(alerts.txtSchedule->styleSheet().isEmpty());
    Type(alerts.txtWebhook, QStringLiteral("https://ntfy.example.org/topic"));
    EXPECT_EQ(options.Webhook, QStringLiteral("https://ntfy.example.org/topic"));
    EXPECT_EQ(alerts.txtWebhookToken->echoMode(), QLineEdit::Password);

    const QString entry = Path("config/autostart/org.vantu.Vantu.desktop");
    EXPECT_FALSE(alerts.chkAutostart->isChecked());
    alerts.chkAutostart->click();
    EXPECT_TRUE(QFileInfo::exists(entry));
    alerts.chkAutostart->click();
    EXPECT_FALSE(QFileInfo::exists(entry));
    EXPECT_FALSE(alerts.chkAutostart->isChecked());
}

TEST_F(PreferencesTest, TheMethodAndTheMaskAreKeptInTheOptionsAsSoonAsTheyAreChosen)
{
    Open();
    Detection().cmboMethod->setCurrentText(QStringLiteral("Moving pixels"));
    EXPECT_EQ(options.Method, DetectMethod::Pixels);
    picked = {Path("Mask.png"), QString()};
    Detection().cmdMask->click();
    Detection().cmdMask->click(); // cancelled
    EXPECT_EQ(options.MaskPath, Path("Mask.png"));
    EXPECT_EQ(Detection().txtMask->text(), Path("Mask.png"));
    Detection().cmdNoMask->click();
    EXPECT_TRUE(options.MaskPath.isEmpty());
    EXPECT_EQ(optionSaves, 3);
}

TEST_F(PreferencesTest, TheEventsTabShowsTheOptionsAndWritesEachChangeAtOnce)
{
    options.Format = PictureFormat::Jpeg;
    options.PreSeconds = 4;
    Open();
    auto* tab = dialog->findChild<EventsTab*>(QStringLiteral("Events"));
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(tab->cmboFormat->currentIndex(), 1);
    EXPECT_TRUE(tab->txtJpegQuality->isEnabled());
    EXPECT_FALSE(tab->txtPreSeconds->isEnabled()) << "clips are off";
    EXPECT_EQ(tab->txtPreSeconds->value(), 4);

    tab->cmboFormat->setCurrentIndex(2);
    tab->cmboWhenFull->setCurrentIndex(1);
    tab->txtKeepFree->setValue(2000);
    tab->cmboPictures->setCurrentIndex(1);
    tab->cmboMail->setCurrentIndex(1);
    tab->chkClips->setChecked(true);
    tab->txtPostSeconds->setValue(9);
    EXPECT_EQ(optionSaves, 7);
    ProgramOptions expected;
    expected.Format = PictureFormat::Png;
    expected.WhenFullAction = WhenFull::ReplaceOldest;
    expected.KeepFreeMb = 2000;
    expected.Pictures = EventPictures::First;
    expected.Mail = EventMail::PerEvent;
    expected.Clips = true;
    expected.PreSeconds = 4;
    expected.PostSeconds = 9;
    EXPECT_EQ(options, expected);
    EXPECT_FALSE(tab->txtJpegQuality->isEnabled());
    EXPECT_TRUE(tab->txtPreSeconds->isEnabled());
}

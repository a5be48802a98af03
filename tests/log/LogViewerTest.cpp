#include "common/SettingsRecord.h"
#include "log/LineSplitter.h"
#include "log/LogClearing.h"
#include "log/LogLines.h"
#include "log/LogWriter.h"
#include "log/frmLog.h"
#include "support/Fakes.h"
#include "ui/Twips.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{
class LogViewerTest : public ::testing::Test
{
protected:
    QString AppFile(const QString& name) const { return dir.path() + QChar('/') + name; }

    void Write(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    QByteArray Read(const QString& path) const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Opens the viewer on path and returns the lines it shows once the whole file is read.
    QStringList View(const QString& path)
    {
        viewer = std::make_unique<frmLog>(path, messages);
        bool loaded = false;
        QObject::connect(viewer.get(), &frmLog::Loaded, [&loaded] { loaded = true; });
        viewer->Form_Load();
        QElapsedTimer waited;
        waited.start();
        while (!loaded && QFile::exists(path) && waited.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QStringList lines;
        for (int row = 0; row < viewer->Lines->rowCount(); ++row)
            lines.append(viewer->Lines->Text(row));
        return lines;
    }

    void ClearAnswering(MsgBoxResult answer)
    {
        messages.answers = {answer};
        ClearLog(dir.path(), messages);
    }

    QTemporaryDir dir;
    FakeMessageBox messages;
    std::unique_ptr<frmLog> viewer;
};
} // namespace

TEST_F(LogViewerTest, WithoutALogFileTheViewerSaysSoAndShowsItsInitialText)
{
    EXPECT_EQ(View(AppFile("Vantu.Log")), QStringList{"No Log File"});
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].Prompt,
              QStringLiteral("Sorry, there is no logfile at this time.  Enable logging "
                             "and enter Monitor Mode to create log file."));
    EXPECT_EQ(messages.shown[0].Title, QStringLiteral("No Log File"));
    EXPECT_EQ(messages.shown[0].Style, MsgBoxStyle::OkOnly);
    EXPECT_EQ(viewer->windowTitle(), QStringLiteral("Vantu Log"));
}

TEST_F(LogViewerTest, LinesShowAsWrittenWhateverTheirLineEndsAndCharacterSet)
{
    struct Case
    {
        QByteArray bytes;
        QStringList lines;
    };
    const std::vector<Case> cases = {
        {">a\r\n>b\r\n", {">a", ">b"}},
        {">a\n\n>b", {">a", "", ">b"}},
        {">a\r>b\r", {">a", ">b"}},
        {"\r\n>a\r\n", {"", ">a"}},
        {">caf\xC3\xA9\r\n>caf\xE9 \x80\r\n", {">caf\u00E9", ">caf\u00E9 \u20AC"}},
        {"<b>bold</b> &amp;\r\n", {"<b>bold</b> &amp;"}},
        {"", {}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.bytes.toStdString());
        Write(AppFile("other.txt"), c.bytes);
        EXPECT_EQ(View(AppFile("other.txt")), c.lines);
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(LogViewerTest, LinesCutAnywhereComeOutWhole)
{
    const QByteArray file = ">one\r\n>two\r\r\n>three\n\r>four\r";
    for (const qsizetype part : {1, 2, 3, 5, 64})
    {
        SCOPED_TRACE(part);
        LineSplitter splitter;
        QStringList lines;
        const auto take = [&lines](const LogPiece& piece)
        {
            for (const LogPiece::Line& line : piece.Lines)
                lines.append(QString::fromLatin1(piece.Bytes.mid(line.Start, line.Length)));
        };
        for (qsizetype at = 0; at < file.size(); at += part)
            take(splitter.Feed(file.mid(at, part)));
        take(splitter.Finish());
        EXPECT_EQ(lines, (QStringList{">one", ">two", "", ">three", "", ">four"}));
    }
}

TEST_F(LogViewerTest, ClearingAsksThenLeavesOneEmptyLineInTheApplicationFoldersLog)
{
    Write(AppFile("Vantu.Log"), ">old\r\n");
    ClearAnswering(MsgBoxResult::No);
    EXPECT_EQ(Read(AppFile("Vantu.Log")), QByteArray(">old\r\n"));
    ClearAnswering(MsgBoxResult::Yes);
    EXPECT_EQ(Read(AppFile("Vantu.Log")), QByteArray("\r\n"));
    QFile::remove(AppFile("Vantu.Log"));
    ClearAnswering(MsgBoxResult::Yes);
    EXPECT_EQ(Read(AppFile("Vantu.Log")), QByteArray("\r\n")) << "a missing log is created";

    std::vector<std::tuple<QString, int, QString>> boxes;
    for (const FakeMessageBox::Shown& box : messages.shown)
        boxes.emplace_back(box.Prompt, box.Style, box.Title);
    const QString ask = QStringLiteral("Are you sure that you wish to permanently clear all log entries?");
    const auto cleared = std::tuple{QStringLiteral("Log File Cleared."), MsgBoxStyle::OkOnly,
                                    QStringLiteral("Clear Log File")};
    const auto asked = std::tuple{ask, MsgBoxStyle::YesNo, QStringLiteral("Clear Log File")};
    EXPECT_EQ(boxes, (std::vector<std::tuple<QString, int, QString>>{
                         asked,
                         {QStringLiteral("Clear Canceled."), MsgBoxStyle::OkOnly, QStringLiteral("Aborted.")},
                         asked,
                         cleared,
                         asked,
                         cleared}));
}

TEST_F(LogViewerTest, TheViewerShowsLogFileWhileClearingAndWritingUseTheApplicationFolder)
{
    SettingsRecord settings;
    settings.WriteLogFile = True;
    settings.LogFile = AppFile("Vantu.Log");
    settings.LogMaxSize = 1;
    LogWriter writer(dir.path(), settings, messages, [] {});
    Write(AppFile("Vantu.Log"), ">before\r\n");
    Write(AppFile("elsewhere.log"), ">elsewhere\r\n");

    ClearAnswering(MsgBoxResult::Yes);
    writer.WriteLogEntry(QStringLiteral("Entered Monitor Mode"));
    writer.WriteLogEntry(QStringLiteral("Detection: 1"));
    EXPECT_EQ(View(AppFile("Vantu.Log")), (QStringList{"", ">Entered Monitor Mode", ">Detection: 1"}));
    EXPECT_EQ(View(AppFile("elsewhere.log")), QStringList{">elsewhere"});

    settings.LogMaxSize = 0;
    ClearAnswering(MsgBoxResult::Yes);
    writer.WriteLogEntry(QStringLiteral("Detection: 2"));
    EXPECT_EQ(Read(AppFile("Vantu.Log")), QByteArray("\r\n")) << "the cleared log is already over 0 KB";
}

TEST_F(LogViewerTest, ReadAndClearFailuresAreToldInPlainWords)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.log")));
    EXPECT_EQ(View(AppFile("folder.log")), QStringList{});
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].Prompt.startsWith(
        QStringLiteral("The log file \"") + AppFile("folder.log") + QStringLiteral("\" could not be read: ")))
        << messages.shown[0].Prompt.toStdString();

    messages.shown.clear();
    messages.answers = {MsgBoxResult::Yes};
    ClearLog(AppFile("missing folder"), messages);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_TRUE(messages.shown[1].Prompt.contains(QStringLiteral("could not be cleared")));
    EXPECT_EQ(messages.shown[1].Style, MsgBoxStyle::Exclamation);
}

TEST_F(LogViewerTest, TheTextBoxFollowsTheWindowsSizeAndNeverGoesBelowNothing)
{
    Write(AppFile("Vantu.Log"), ">x\r\n");
    View(AppFile("Vantu.Log"));
    viewer->show();
    const QSize border(TwipsToPixels(100), TwipsToPixels(350));
    for (const QSize size : {QSize(500, 300), QSize(900, 700), QSize(border.width() + 1, border.height() + 1),
                             QSize(3, 3), QSize(1, 1)})
    {
        SCOPED_TRACE(testing::PrintToString(size));
        viewer->resize(size);
        const QSize outer = viewer->frameGeometry().size();
        EXPECT_EQ(viewer->txtLog->size(), QSize(std::max(0, outer.width() - border.width()),
                                                std::max(0, outer.height() - border.height())));
        EXPECT_EQ(viewer->txtLog->pos(), QPoint(0, 0));
    }
}

TEST_F(LogViewerTest, SelectedLinesCopyAsText)
{
    Write(AppFile("Vantu.Log"), ">one\r\n>two\r\n>three\r\n");
    View(AppFile("Vantu.Log"));
    viewer->txtLog->selectRow(2);
    viewer->txtLog->selectionModel()->select(viewer->Lines->index(0),
                                             QItemSelectionModel::Select | QItemSelectionModel::Rows);
    viewer->txtLog->actions().at(0)->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral(">one\n>three"));
}

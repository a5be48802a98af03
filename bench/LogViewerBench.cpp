// Opens a 100 MB log in the log viewer and prints how long the first page takes to show, how long
// the whole file takes to load, and the longest time the window's event loop was held up meanwhile
// (the goal for the first page is under 1 s).
//
//   LogViewerBench [--megabytes=N]

#include "BenchSupport.h"
#include "log/LogLines.h"
#include "log/frmLog.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstring>

namespace
{

bool WriteLog(const QString& path, qint64 bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray block;
    for (int i = 0; block.size() < 1024 * 1024; ++i)
        block += QByteArray(">Detection: 12/7/1999 3:04:05 PM  Image Detection_") + QByteArray::number(i) +
                 "-1.Bmp\r\n";
    for (qint64 written = 0; written < bytes; written += block.size())
    {
        if (file.write(block) != block.size())
            return false;
    }
    return true;
}
} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qint64 megabytes = 100;
    for (int i = 1; i < argc; ++i)
    {
        if (std::strncmp(argv[i], "--megabytes=", 12) == 0)
            megabytes = std::atoll(argv[i] + 12);
    }
    QApplication application(argc, argv);

    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/Vantu.Log");
    if (!WriteLog(path, megabytes * 1024 * 1024))
    {
        std::printf("could not write %s\n", qPrintable(path));
        return 1;
    }

    PrintedMessages messages;
    frmLog viewer(path, messages);
    viewer.resize(800, 600);
    viewer.show();
    QApplication::processEvents();

    bool loaded = false;
    QObject::connect(&viewer, &frmLog::Loaded, [&loaded] { loaded = true; });
    // A 5 ms timer shows how long the event loop is ever held up while the file loads.
    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout,
                     [&]
                     {
                         longestGap = std::max(longestGap, sinceTick.elapsed());
                         sinceTick.restart();
                     });

    QElapsedTimer clock;
    clock.start();
    viewer.Form_Load();
    ticker.start(5);
    sinceTick.start();
    const int pageRows = viewer.txtLog->height() / viewer.txtLog->verticalHeader()->defaultSectionSize();
    while (viewer.Lines->rowCount() < pageRows && !loaded)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    viewer.txtLog->viewport()->repaint();
    const qint64 firstPage = clock.elapsed();
    while (!loaded)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const qint64 whole = clock.elapsed();

    std::printf("log of %lld MB, %d lines\n", megabytes, viewer.Lines->rowCount());
    std::printf("first page shown after %lld ms (goal: under 1000 ms)\n", firstPage);
    std::printf("whole file loaded after %lld ms\n", whole);
    std::printf("longest hold-up of the event loop: %lld ms\n", longestGap);
    return 0;
}

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// Some whole lines of a file: their bytes, and where each line lies in them without its line end.
struct LogPiece
{
    struct Line
    {
        qsizetype Start;
        qsizetype Length;
    };
    QByteArray Bytes;
    QList<Line> Lines;
};

// Cuts a file that arrives in parts into lines. CR LF, LF and a CR alone each end a line, so files
// written on any system show the same lines.
class LineSplitter
{
public:
    // Takes the next bytes of the file and returns the lines they complete.
    LogPiece Feed(QByteArrayView bytes);
    // Returns the last line when the file does not end with a line end.
    LogPiece Finish();

private:
    QByteArray pending_;
    // pending_ up to here holds no line end.
    qsizetype scanned_ = 0;
};

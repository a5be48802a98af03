#include "log/LineSplitter.h"

LogPiece LineSplitter::Feed(QByteArrayView bytes)
{
    pending_.append(bytes);
    LogPiece piece;
    const qsizetype size = pending_.size();
    const char* data = pending_.constData();
    qsizetype lineStart = 0;
    qsizetype i = scanned_;
    while (i < size)
    {
        const char c = data[i];
        if (c != '\n' && c != '\r')
        {
            ++i;
            continue;
        }
        if (c == '\r' && i + 1 == size)
            break; // a LF may follow in the next part
        piece.Lines.append({lineStart, i - lineStart});
        i += (c == '\r' && data[i + 1] == '\n') ? 2 : 1;
        lineStart = i;
    }
    piece.Bytes = pending_.left(lineStart);
    pending_.remove(0, lineStart);
    scanned_ = i - lineStart;
    return piece;
}

LogPiece LineSplitter::Finish()
{
    LogPiece piece;
    if (pending_.isEmpty())
        return piece;
    // Only a CR can be left unscanned at the end: it ends the last line.
    const bool endsWithCr = pending_.endsWith('\r');
    piece.Lines.append({0, pending_.size() - (endsWithCr ? 1 : 0)});
    piece.Bytes = std::move(pending_);
    pending_.clear();
    scanned_ = 0;
    return piece;
}

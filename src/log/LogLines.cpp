#include "log/LogLines.h"

#include "common/AnsiText.h"

namespace
{
// A line longer than this shows its beginning and an ellipsis; the window stays quick to draw.
constexpr qsizetype ShownLineBytes = 16384;
} // namespace

void LogLines::Clear(qsizetype expectedBytes)
{
    beginResetModel();
    bytes_.clear();
    bytes_.reserve(expectedBytes);
    lines_.clear();
    endResetModel();
}

void LogLines::Append(const LogPiece& piece)
{
    if (piece.Lines.isEmpty())
        return;
    const qsizetype base = bytes_.size();
    const auto first = static_cast<int>(lines_.size());
    beginInsertRows({}, first, first + static_cast<int>(piece.Lines.size()) - 1);
    bytes_.append(piece.Bytes);
    for (const LogPiece::Line& line : piece.Lines)
        lines_.append({base + line.Start, line.Length});
    endInsertRows();
}

void LogLines::SetText(const QString& text)
{
    Clear();
    LogPiece piece;
    piece.Bytes = text.toUtf8();
    piece.Lines.append({0, piece.Bytes.size()});
    Append(piece);
}

QString LogLines::Text(int row) const
{
    const LogPiece::Line& line = lines_.at(row);
    const char* start = bytes_.constData() + line.Start;
    qsizetype length = std::min(line.Length, ShownLineBytes);
    // Cut before a character that is split, not inside it.
    for (int back = 0; back < 3 && length < line.Length && (start[length] & 0xC0) == 0x80; ++back)
        --length;
    const QByteArrayView bytes(start, length);
    QString text = DecodeAnsi(bytes);
    if (line.Length > ShownLineBytes)
        text += QChar(0x2026);
    return text;
}

int LogLines::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

QVariant LogLines::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= lines_.size())
        return {};
    return Text(index.row());
}

#pragma once

#include "log/LineSplitter.h"

#include <QAbstractListModel>
#include <QByteArray>
#include <QList>

// The lines of the log as the viewer shows them. The file's bytes are kept as read; a line is
// turned into text only when it is shown, each line on its own, so a line written in Windows-1252
// among lines in UTF-8 still shows its own characters.
class LogLines final : public QAbstractListModel
{
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    // Drops every line; room is kept for expectedBytes.
    void Clear(qsizetype expectedBytes = 0);
    void Append(const LogPiece& piece);
    // Shows text as the only line.
    void SetText(const QString& text);

    // The line as shown.
    QString Text(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    QByteArray bytes_;
    QList<LogPiece::Line> lines_;
};

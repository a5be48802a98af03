#include "log/frmLog.h"

#include "log/LogLines.h"
#include "log/LogReader.h"
#include "ui/MessageBox.h"
#include "ui/Twips.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QHeaderView>
#include <QTableView>
#include <algorithm>

frmLog::frmLog(QString logFile, IMessageBox& messages, QWidget* parent)
    : QDialog(parent), logFile_(std::move(logFile)), messages_(messages)
{
    setObjectName(QStringLiteral("frmLog"));
    setWindowTitle(QStringLiteral("Vantu Log"));
    setSizeGripEnabled(true);
    resize(640, 420);

    Lines = new LogLines(this);
    Lines->SetText(QStringLiteral("No Log File"));
    txtLog = new QTableView(this);
    txtLog->setObjectName(QStringLiteral("txtLog"));
    txtLog->setModel(Lines);
    txtLog->horizontalHeader()->hide();
    txtLog->horizontalHeader()->setStretchLastSection(true);
    txtLog->verticalHeader()->hide();
    txtLog->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    txtLog->verticalHeader()->setDefaultSectionSize(txtLog->fontMetrics().height() + 2);
    txtLog->setShowGrid(false);
    txtLog->setWordWrap(false);
    txtLog->setEditTriggers(QAbstractItemView::NoEditTriggers);
    txtLog->setSelectionBehavior(QAbstractItemView::SelectRows);
    txtLog->setSelectionMode(QAbstractItemView::ExtendedSelection);

    auto* copy = new QAction(txtLog);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    txtLog->addAction(copy);
    connect(copy, &QAction::triggered, this, &frmLog::CopyLines);
}

frmLog::~frmLog() = default;

void frmLog::Form_Load()
{
    Form_Resize();
    const QFileInfo file(logFile_);
    if (!file.exists())
    {
        messages_.Show(QStringLiteral("Sorry, there is no logfile at this time.  Enable logging and enter "
                                      "Monitor Mode to create log file."),
                       MsgBoxStyle::OkOnly, QStringLiteral("No Log File"));
        return;
    }
    delete reader_;
    reader_ = new LogReader(this);
    connect(reader_, &LogReader::Piece, Lines, &LogLines::Append);
    connect(reader_, &LogReader::Finished, this, &frmLog::Loaded);
    connect(reader_, &LogReader::Failed, this, &frmLog::Reader_Failed);
    Lines->Clear(file.size());
    reader_->Start(logFile_);
}

void frmLog::Reader_Failed(const QString& error)
{
    messages_.Show(QStringLiteral("The log file \"%1\" could not be read: %2.").arg(logFile_, error),
                   MsgBoxStyle::Exclamation, QStringLiteral("Vantu Log"));
    emit Loaded();
}

void frmLog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    Form_Resize();
}

void frmLog::Form_Resize()
{
    txtLog->setGeometry(QRect(QPoint(0, 0), LogBoxSize(frameGeometry().size())));
}

void frmLog::CopyLines()
{
    QModelIndexList rows = txtLog->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end());
    QStringList text;
    for (const QModelIndex& row : rows)
        text.append(Lines->Text(row.row()));
    QApplication::clipboard()->setText(text.join(QChar('\n')));
}

QSize LogBoxSize(QSize window)
{
    return {std::max(0, window.width() - TwipsToPixels(100)),
            std::max(0, window.height() - TwipsToPixels(350))};
}

void ShowLogViewer(const QString& logFile, IMessageBox& messages, QWidget* parent)
{
    frmLog viewer(logFile, messages, parent);
    viewer.Form_Load();
    viewer.exec();
}

#pragma once

#include <QDialog>
#include <QSize>
#include <QString>

class IMessageBox;
class LogLines;
class LogReader;
class QTableView;

// The log viewer "Vantu Log": the file named by the LogFile setting, line by line as plain text.
// The file is read on a worker thread; the first page shows as soon as it has been read, and the
// rest follows while the window is already in use.
class frmLog final : public QDialog
{
    Q_OBJECT

public:
    frmLog(QString logFile, IMessageBox& messages, QWidget* parent = nullptr);
    ~frmLog() override;

    // Sizes the text box and starts loading the file, or tells the user that there is none.
    void Form_Load();

    QTableView* txtLog;
    LogLines* Lines;

signals:
    // The whole file is shown.
    void Loaded();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Form_Resize();
    void CopyLines();
    void Reader_Failed(const QString& error);

    QString logFile_;
    IMessageBox& messages_;
    LogReader* reader_ = nullptr;
};

// The size of the text box for a window of the given outer size: 350 twips lower and 100 twips
// narrower, and never less than nothing.
QSize LogBoxSize(QSize window);

// Shows the log viewer modally and returns when the user closes it.
void ShowLogViewer(const QString& logFile, IMessageBox& messages, QWidget* parent);

#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

// One running program per application directory, so that two programs never share one settings file
// and one camera, while two copied folders still run side by side. The first start listens on a local
// socket named after its application directory; a later start with the same directory asks it to come
// to the front, or to start monitoring, and ends.
class SingleInstance final : public QObject
{
    Q_OBJECT

public:
    enum class Outcome
    {
        // No program of this directory ran: this one now answers later starts.
        First,
        // The program already running was asked to come to the front (or to start monitoring) and said
        // it would.
        BroughtToFront,
        // A program of this directory runs but did not answer.
        NotAnswering,
        // The socket could not be set up; the reason is in error.
        Failed
    };

    explicit SingleInstance(const QString& appDirectory, QObject* parent = nullptr);

    // What a later start asks of the program already running.
    struct Request
    {
        bool Front = true;
        bool Monitor = false;
    };

    // Asks a running program of this directory for request, else starts answering later starts.
    Outcome Start(QString* error, Request request);
    // Asks a running program of this directory to come to the front, else starts answering later starts.
    Outcome Start(QString* error);

    // Stops answering later starts and removes the socket, so that a start from now on runs at once.
    void Stop();

    // The socket of an application directory: one per folder and user.
    static QString ServerName(const QString& appDirectory);

signals:
    // A later start asked this program to come to the front.
    void ActivationRequested();
    // A later start asked this program to start monitoring.
    void MonitorRequested();

private:
    // Whether a program answers on the socket; when one does, what came of asking it.
    bool AskRunning(const QByteArray& request, Outcome* outcome) const;
    void Answer(QLocalSocket* socket);

    QString name_;
    QLocalServer server_;
};

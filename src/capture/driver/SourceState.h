#pragma once

#include <QMetaType>
#include <QString>

// Whether a video source gives pictures now, and if not, why not and what happens next.
enum class SourceStatus
{
    Connecting, // being opened, or opened again after a loss
    Live,       // pictures arrive
    Lost,       // no pictures: the source failed or cannot be reached
    Ended,      // a video file played to its end
};

struct SourceState
{
    SourceStatus Status = SourceStatus::Connecting;
    // The source's short name: the camera's host, the file's name, the driver's name.
    QString Source;
    // Why there are no pictures, in plain words; empty while live.
    QString Reason;
    // The reconnection attempt under way or next; 0 before the first.
    int Attempt = 0;
    // Seconds until the next attempt; 0 when none is planned.
    int NextTrySeconds = 0;

    bool operator==(const SourceState&) const = default;
};
Q_DECLARE_METATYPE(SourceState)

// The text shown over the live view while there is no picture; empty while live.
QString SourceStateNotice(const SourceState& state);

// Follows the states of the connected source and says which changes go to the log: the loss of the
// picture, its return and the end of a file. A failed reconnection attempt is no new change.
class SourceStateLog
{
public:
    // The log text for the change to state (the date is appended by the caller), or empty.
    QString Enter(const SourceState& state);
    // A new source is connected: its first picture is no return of a lost one.
    void Reset() { lost_ = false; }

private:
    bool lost_ = false;
};

#pragma once

#include "capture/driver/DibFrame.h"
#include "capture/driver/SourceState.h"

#include <QObject>
#include <QSize>
#include <QString>

// One video source behind the capture window. A driver captures and converts on a thread of its
// own, keeps the newest finished frame and tells the window through FrameReady; the window takes the
// frame on the user-interface thread. Its dialogs are not part of it: its driver entry names them.
class CaptureDriver : public QObject
{
    Q_OBJECT

public:
    ~CaptureDriver() override = default;

    // Starts the source. False when it cannot be used; the driver is then closed.
    virtual bool Open() = 0;
    // Stops the source. Safe to call twice and on a driver that never opened.
    virtual void Close() = 0;

    // The size of the frames the driver delivers now; empty while it is closed.
    virtual QSize FrameSize() const = 0;

    // Swaps the newest frame that has not been handed out yet into front. Never waits for the source:
    // false when no new frame is there.
    virtual bool TakeFrame(DibFrame& front) = 0;

    // On: a source that can wait (a video file) holds each frame back until the previous one was
    // taken, so that every frame is handed out. Sources that cannot wait (cameras) ignore it.
    virtual void HoldFramesUntilTaken(bool on) { (void)on; }

signals:
    // A new frame can be taken. May be emitted from the capture thread.
    void FrameReady();
    // A failure the driver cannot recover from, with a number other than 0 and a readable text.
    // May be emitted from the capture thread.
    void ErrorOccurred(int number, const QString& text);
    // A change of state worth a notice (reconnecting, end of a file). May be emitted from any thread.
    void StatusChanged(int number, const QString& text);
    // The source's state changed: connecting, live, lost, ended. A driver that never reports one is
    // taken to be live once it opened. May be emitted from any thread.
    void SourceStateChanged(const SourceState& state);
};

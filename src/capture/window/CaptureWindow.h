#pragma once

#include "capture/driver/CaptureDriverList.h"
#include "capture/driver/DibFrame.h"
#include "capture/driver/SourceState.h"
#include "ui/MessageBox.h"

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

class CaptureDriver;
class QPainter;
class SourceStateOverlay;

// The capture window: owns the driver connection, draws the live picture scaled to its size and
// hands frames to the frame callback synchronously, on the user-interface thread. Every request
// answers whether it was carried out; without a connected driver none is.
class CaptureWindow final : public QWidget
{
    Q_OBJECT

public:
    // Receives each frame the window hands out, before the request that produced it returns.
    using FrameCallback = std::function<void(DibFrame& frame)>;
    // Receives a driver's failures or notices: a number other than 0 and a readable text.
    using NoticeCallback = std::function<void(int number, const QString& text)>;

    explicit CaptureWindow(QWidget* parent = nullptr);
    ~CaptureWindow() override;

    // Where the window and the drivers' dialogs report what went wrong; until it is set, a modal box
    // over the active window. messages must outlive the window.
    void SetMessageBox(IMessageBox& messages) { messages_ = &messages; }

    // An empty callback removes the one installed.
    void SetFrameCallback(FrameCallback callback) { onFrame_ = std::move(callback); }
    void SetErrorCallback(NoticeCallback callback) { onError_ = std::move(callback); }
    void SetStatusCallback(NoticeCallback callback) { onStatus_ = std::move(callback); }

    // Connects the installed driver at index in place of the connected one, which stays when the
    // new one cannot be opened.
    bool ConnectDriver(int index);
    bool Connected() const { return driver_ != nullptr; }
    // The place of the connected driver in the list of drivers now; -1 without one or when it has gone.
    int DriverIndex() const;
    // The key of the connected driver; empty without one.
    QString DriverKey() const { return driverKey_; }
    // The connected driver's description as the list of drivers gives it now (a source may have been
    // renamed by its dialog); empty without one.
    QString DriverName() const;
    bool HasSourceDialog() const { return Connected() && static_cast<bool>(dialogs_.SourceDialog); }
    bool HasFormatDialog() const { return Connected() && static_cast<bool>(dialogs_.FormatDialog); }
    // The size of the frames the connected driver delivers; empty without one.
    QSize FrameSize() const;

    // Writes the current frame to path as a bitmap file.
    bool SaveDib(const QString& path, QString* error);
    // Hands out the newest frame that was not handed out yet, and ends the live preview.
    bool GrabFrame();
    // Hands every new frame out as it arrives, at most once every preview rate.
    bool SetPreview(bool on);
    bool SetPreviewRate(int milliseconds);
    // Scales the picture to the window.
    bool SetScale(bool on);
    // Takes the display options (scaling, proportions) the user chose in an earlier run, kept in the
    // capture settings.
    void RestoreDisplayOptions();
    // Keeps the connected driver's key in the capture settings, so that the next start connects it
    // first. A settings file that cannot be written is reported through the message box.
    void RememberDriver();

    // The modal dialogs: the driver's own two, the window's display options, and a note that frames
    // are saved uncompressed.
    bool ShowSourceDialog();
    bool ShowFormatDialog();
    bool ShowDisplayDialog();
    bool ShowCompressionDialog();

    // The connected source's state, as its driver reported it last.
    const SourceState& State() const { return state_; }
    // Frames the source produced that were replaced by a newer one before they could be handed out,
    // since the driver was connected.
    std::uint64_t DroppedFrames() const { return dropped_; }

    // The frame handed out last: the one on screen and the one a save writes.
    const DibFrame& CurrentFrame() const { return current_; }
    bool Previewing() const { return preview_; }
    // Where the picture goes in the window: its own size at the top left, or scaled to the window.
    QRectF PictureRect() const;
    bool Scaling() const { return scale_; }

signals:
    // The window handed out frame: it is on screen and is the one a save writes. Emitted after the
    // frame callback, before the request that produced the frame returns.
    void FrameHandedOut(const DibFrame& frame);
    // A new frame waits to be grabbed: it arrived while the live preview is off.
    void FrameWaiting();
    // A change of the source's state worth a log line: the text, without the date.
    void SourceLogEntry(const QString& text);
    // A frame of another size than the previous one was handed out.
    void FrameSizeChanged(QSize size);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void OnFrameReady();
    bool DeliverFrame();
    // Converts the current frame straight into the picture painter draws on, within region and the
    // pixels covered by target, when that is a 32-bit picture; false when it is not. A scaled frame is
    // sampled at the centre of each pixel drawn.
    bool PaintFrameDirectly(QPainter& painter, const QRegion& region, const QRect& covered,
                            const QRectF& target) const;
    // The frame pixel, of pixels along one side, under the centre of window pixel shown when the
    // frame is drawn from start over length.
    static int SourcePixel(int shown, double start, double length, int pixels);
    void OnDriverError(int number, const QString& text);
    void OnDriverStatus(int number, const QString& text);
    void OnSourceState(const SourceState& state);
    void HoldFrames(bool on);
    void SaveDisplayOptions();
    void EnterState(const SourceState& state);
    // Counts the frames skipped before frame and tells a new frame size.
    void NoteTakenFrame(const DibFrame& frame, QSize previousSize);

    QtMessageBox ownMessages_;
    IMessageBox* messages_ = &ownMessages_;

    std::unique_ptr<CaptureDriver> driver_;
    QString driverKey_;
    // The connected driver's entry, for its dialogs.
    CaptureDriverEntry dialogs_;
    // The driver being opened, whose reports count before it replaces the connected one.
    CaptureDriver* opening_ = nullptr;

    SourceState state_;
    bool stateReported_ = false;
    SourceStateLog stateLog_;
    SourceStateOverlay* overlay_;
    std::uint64_t dropped_ = 0;
    // The sequence number of the frame handed out last.
    std::uint64_t taken_ = 0;
    bool holding_ = false;

    FrameCallback onFrame_;
    NoticeCallback onError_;
    NoticeCallback onStatus_;

    bool preview_ = false;
    bool scale_ = false;
    bool keepAspectRatio_ = false;
    int previewRateMs_ = 0;
    QElapsedTimer sinceLastPreview_;
    QTimer previewDelay_;

    DibFrame current_;
    // The current frame as the screen draws it, converted at the next paint after a new frame; only
    // where the frame cannot be converted straight into the window's picture.
    QImage shown_;
    bool shownStale_ = false;
};

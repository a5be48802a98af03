#pragma once

#include "capture/avicap.h"
#include "capture/driver/DibFrame.h"

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <memory>

class CaptureDriver;

// The capture window: owns the driver connection, draws the live picture scaled to its size and
// hands frames to the frame callback synchronously, on the user-interface thread.
class CaptureWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit CaptureWindow(QWidget* parent = nullptr);
    ~CaptureWindow() override;

    // Carries out one numbered request and returns its answer (0 for failure).
    std::intptr_t Request(unsigned message, std::uintptr_t wParam, void* lParam);

    // The frame handed out last: the one on screen and the one a save writes.
    const DibFrame& CurrentFrame() const { return current_; }
    bool Previewing() const { return preview_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool DriverConnect(int index);
    bool FillDriverCaps(void* record, std::size_t size) const;
    bool FillStatus(void* record, std::size_t size) const;
    bool SaveDib(const char* path);
    bool GrabFrame();
    bool SetPreview(bool on);
    void OnFrameReady();
    bool DeliverFrame();
    void OnDriverError(int number, const QString& text);
    void OnDriverStatus(int number, const QString& text);
    void ShowDisplayDialog();
    void ShowCompressionDialog();

    std::unique_ptr<CaptureDriver> driver_;
    int driverIndex_ = -1;

    CAPVIDEOCALLBACK onFrame_;
    CAPERRORCALLBACK onError_;
    CAPSTATUSCALLBACK onStatus_;
    CAPOTHERCALLBACK onYield_;
    CAPOTHERCALLBACK onVideoStream_;
    CAPOTHERCALLBACK onWaveStream_;
    CAPOTHERCALLBACK onCapControl_;

    bool preview_ = false;
    bool scale_ = false;
    bool keepAspectRatio_ = false;
    int previewRateMs_ = 0;
    QElapsedTimer sinceLastPreview_;
    QTimer previewDelay_;

    DibFrame current_;
    // The current frame as the screen draws it, converted at the next paint after a new frame.
    QImage shown_;
    bool shownStale_ = false;
};

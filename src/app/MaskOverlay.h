#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QPointF>
#include <QWidget>
#include <cstdint>
#include <optional>

class CaptureWindow;
class DetectionMask;
struct PixelDetectorState;

// Lies over the live picture while fine tuning: shows the parts the mask covers dimmed, and, when
// asked, the cells the moving-pixels detector found changed tinted red. With painting on, a drag
// with the left button covers the picture under it, a drag with the right button uncovers it.
class MaskOverlay final : public QWidget
{
    Q_OBJECT

public:
    MaskOverlay(CaptureWindow& view, DetectionMask& mask, const PixelDetectorState& pixels);

    // Painting and showing the mask go on and off together, as fine tuning is shown and hidden.
    void SetPainting(bool on);
    void SetShowChanges(bool on);
    bool ShowsChanges() const { return showChanges_; }
    // The detector compared a frame: its changes are drawn again.
    void FrameCompared();

signals:
    // A stroke ended: the mask changed.
    void MaskPainted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // The frame point under a point of the overlay.
    QPointF FramePoint(QPointF point) const;
    void StrokeTo(QPointF point);

    CaptureWindow& view_;
    DetectionMask& mask_;
    const PixelDetectorState& pixels_;
    bool painting_ = false;
    bool showChanges_ = false;
    // The stroke going on: whether it covers, and where it was last, in frame pixels.
    bool covering_ = true;
    std::optional<QPointF> last_;
    // The covered parts as a dark see-through picture, made again when the mask changes.
    QImage shade_;
    std::uint64_t shadeVersion_ = 0;
    QImage changes_;
    // Since the detector last compared a frame: its changes are shown only while they are new.
    QElapsedTimer sinceCompared_;
};

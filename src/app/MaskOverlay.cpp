#include "app/MaskOverlay.h"

#include "capture/window/CaptureWindow.h"
#include "detect/DetectionMask.h"
#include "detect/PixelDetector.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace
{
// How dark the covered parts are drawn, and how strong the tint of the changed cells is.
constexpr int ShadeAlpha = 150;
constexpr QRgb ChangeTint = qRgba(255, 40, 40, 120);
// The brush's radius, as a share of the frame's width.
constexpr double BrushShare = 0.03;
// How long the changes of a compared frame are shown without a newer one: they are gone once frames
// are no longer compared.
constexpr qint64 FreshMs = 500;
} // namespace

MaskOverlay::MaskOverlay(CaptureWindow& view, DetectionMask& mask, const PixelDetectorState& pixels)
    : QWidget(&view), view_(view), mask_(mask), pixels_(pixels)
{
    setObjectName(QStringLiteral("MaskOverlay"));
    setToolTip(QStringLiteral("Drag to cover a part of the picture that is not to be watched; drag with "
                              "the right button to uncover it"));
    setCursor(Qt::CrossCursor);
    view.installEventFilter(this);
    setGeometry(view.rect());
    SetPainting(false);
}

void MaskOverlay::SetPainting(bool on)
{
    painting_ = on;
    last_.reset();
    setAttribute(Qt::WA_TransparentForMouseEvents, !on);
    setVisible(on);
    raise();
}

void MaskOverlay::SetShowChanges(bool on)
{
    showChanges_ = on;
    update();
}

void MaskOverlay::FrameCompared()
{
    sinceCompared_.start();
    if (painting_ && (showChanges_ || !mask_.IsEmpty()))
        update();
}

bool MaskOverlay::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &view_ && event->type() == QEvent::Resize)
        setGeometry(view_.rect());
    return QWidget::eventFilter(watched, event);
}

QPointF MaskOverlay::FramePoint(QPointF point) const
{
    const QRectF shown = view_.PictureRect();
    const DibFrame& frame = view_.CurrentFrame();
    if (shown.isEmpty())
        return {};
    return {(point.x() - shown.left()) * frame.Width / shown.width(),
            (point.y() - shown.top()) * frame.Height / shown.height()};
}

void MaskOverlay::StrokeTo(QPointF point)
{
    const DibFrame& frame = view_.CurrentFrame();
    if (frame.Empty())
        return;
    const QPointF to = FramePoint(point);
    mask_.Stroke(QSize(frame.Width, frame.Height), last_.value_or(to), to,
                 std::max(2.0, BrushShare * frame.Width), covering_);
    last_ = to;
    update();
}

void MaskOverlay::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton)
        return;
    covering_ = event->button() == Qt::LeftButton;
    last_.reset();
    StrokeTo(event->position());
}

void MaskOverlay::mouseMoveEvent(QMouseEvent* event)
{
    if (last_ && (event->buttons() & (Qt::LeftButton | Qt::RightButton)))
        StrokeTo(event->position());
}

void MaskOverlay::mouseReleaseEvent(QMouseEvent*)
{
    if (!last_)
        return;
    last_.reset();
    emit MaskPainted();
}

void MaskOverlay::paintEvent(QPaintEvent*)
{
    const QRectF shown = view_.PictureRect();
    if (shown.isEmpty())
        return;
    QPainter painter(this);
    if (!mask_.IsEmpty())
    {
        if (shadeVersion_ != mask_.Version() || shade_.isNull())
        {
            // Covered (dark) mask pixels become a see-through black, watched ones clear.
            const QImage& image = mask_.Image();
            shade_ = QImage(image.size(), QImage::Format_ARGB32_Premultiplied);
            for (int y = 0; y < image.height(); ++y)
            {
                const std::uint8_t* in = image.constScanLine(y);
                auto* out = reinterpret_cast<QRgb*>(shade_.scanLine(y));
                for (int x = 0; x < image.width(); ++x)
                    out[x] = in[x] < 128 ? qRgba(0, 0, 0, ShadeAlpha) : 0;
            }
            shadeVersion_ = mask_.Version();
        }
        painter.drawImage(shown, shade_);
    }
    const DibFrame& frame = view_.CurrentFrame();
    if (!showChanges_ || !sinceCompared_.isValid() || sinceCompared_.elapsed() > FreshMs ||
        pixels_.Changed.empty() || pixels_.FrameWidth != frame.Width || pixels_.FrameHeight != frame.Height)
        return;
    if (changes_.size() != QSize(pixels_.GridWidth, pixels_.GridHeight))
        changes_ = QImage(pixels_.GridWidth, pixels_.GridHeight, QImage::Format_ARGB32);
    for (int y = 0; y < pixels_.GridHeight; ++y)
    {
        const std::uint8_t* cells = pixels_.Changed.data() + static_cast<std::size_t>(y) * pixels_.GridWidth;
        auto* out = reinterpret_cast<QRgb*>(changes_.scanLine(y));
        for (int x = 0; x < pixels_.GridWidth; ++x)
            out[x] = cells[x] != 0 ? ChangeTint : 0;
    }
    // The grid covers whole cells of the frame, from its top left corner.
    const double sx = shown.width() / frame.Width;
    const double sy = shown.height() / frame.Height;
    painter.drawImage(QRectF(shown.left(), shown.top(), pixels_.GridWidth * pixels_.Step * sx,
                             pixels_.GridHeight * pixels_.Step * sy),
                      changes_);
}

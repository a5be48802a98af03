#include "ui/ChangeMeter.h"

#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace
{
constexpr int FlashMilliseconds = 400;
constexpr int PeakHoldMilliseconds = 1500;
// The bar leaves the meter's edges free, so that a flash shows also behind a full bar.
constexpr int BarMargin = 3;
const QColor MeterBackground(32, 36, 44);
const QColor MeterFlash(220, 40, 40);
const QColor MeterBelow(70, 190, 90);
const QColor MeterAbove(250, 150, 30);
const QColor MeterThreshold(255, 255, 255);
const QColor MeterPeak(255, 230, 120);
} // namespace

ChangeMeter::ChangeMeter(double maximum, QWidget* parent)
    : QWidget(parent), maximum_(maximum), flash_(new QTimer(this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    flash_->setSingleShot(true);
    flash_->setInterval(FlashMilliseconds);
    connect(flash_, &QTimer::timeout, this,
            [this]
            {
                flashing_ = false;
                update();
            });
}

void ChangeMeter::ShowChange(double change, double threshold, bool detected)
{
    const bool same = change == change_ && threshold == threshold_ && !detected;
    change_ = change;
    threshold_ = threshold;
    if (change >= peak_ || !peakAge_.isValid() || peakAge_.hasExpired(PeakHoldMilliseconds))
    {
        peak_ = change;
        peakAge_.start();
    }
    if (detected)
    {
        flashing_ = true;
        flash_->start();
    }
    if (!same)
        update();
}

void ChangeMeter::Reset()
{
    flash_->stop();
    flashing_ = false;
    change_ = 0.0;
    peak_ = 0.0;
    peakAge_.invalidate();
    update();
}

int ChangeMeter::HeightFor(double value) const
{
    if (!(value > 0.0))
        return 0;
    const double share = std::min(value, maximum_) / maximum_;
    return static_cast<int>(std::lround(share * height()));
}

void ChangeMeter::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int w = width();
    const int h = height();
    if (h < 2)
        return;
    painter.fillRect(rect(), flashing_ ? MeterFlash : MeterBackground);

    const int bar = HeightFor(change_);
    painter.fillRect(BarMargin, h - bar, w - 2 * BarMargin, bar,
                     change_ > threshold_ ? MeterAbove : MeterBelow);
    if (peak_ > change_)
        painter.fillRect(BarMargin, std::max(0, h - HeightFor(peak_) - 1), w - 2 * BarMargin, 2, MeterPeak);

    // The threshold sits on the same scale; a negative one lies below the bottom and shows there.
    const int line = std::clamp(h - 1 - HeightFor(threshold_), 0, h - 2);
    painter.fillRect(0, line, w, 2, MeterThreshold);
}

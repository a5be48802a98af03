#pragma once

#include <QElapsedTimer>
#include <QWidget>

class QTimer;

// A vertical bar that shows how much the picture changed between the last two compared frames, in
// sensitivity units, with the threshold drawn across it at the same scale. The bar's bottom is no
// change, its top the largest sensitivity; a larger change fills it. A detection makes the meter
// flash, so that tuning works without sound. A mark holds the largest change of the last moments, so
// that a change lasting one frame (a clock's hand moving) can be read as well.
class ChangeMeter final : public QWidget
{
    Q_OBJECT

public:
    explicit ChangeMeter(double maximum, QWidget* parent = nullptr);

    // One compared frame: its change, the threshold it was compared with and whether it was a detection.
    void ShowChange(double change, double threshold, bool detected);
    // Back to no change and no flash, as when a new baseline starts.
    void Reset();

    double Change() const { return change_; }
    double Threshold() const { return threshold_; }
    double Peak() const { return peak_; }
    bool IsFlashing() const { return flashing_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The height in pixels above the bottom for a value on the meter's scale.
    int HeightFor(double value) const;

    double maximum_;
    double change_ = 0.0;
    double threshold_ = 0.0;
    double peak_ = 0.0;
    QElapsedTimer peakAge_;
    bool flashing_ = false;
    QTimer* flash_;
};

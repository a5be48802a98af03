#include "capture/scene/TestSceneClock.h"

#include <QPainter>
#include <QRadialGradient>
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace
{
// Hand lengths as fractions of the clock's radius.
constexpr double HourHandLength = 0.50;
constexpr double MinuteHandLength = 0.78;
constexpr double SecondHandLength = 0.86;

using Bgr = std::array<double, 3>;
constexpr Bgr HandColour{40, 36, 34};
constexpr Bgr SecondHandColour{34, 38, 196};

// The point at distance from the centre in the direction of a hand at degrees clockwise from twelve.
QPointF AlongHand(const TestSceneLayout& layout, double degrees, double distance)
{
    const double radians = degrees * std::numbers::pi / 180.0;
    return layout.ClockCentre + QPointF(std::sin(radians) * distance, -std::cos(radians) * distance);
}

double DistanceToSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF ab = b - a;
    const double lengthSquared = QPointF::dotProduct(ab, ab);
    const double t =
        lengthSquared > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / lengthSquared, 0.0, 1.0) : 0.0;
    const QPointF nearest = a + t * ab;
    return std::hypot(p.x() - nearest.x(), p.y() - nearest.y());
}

// Blends a stroke with round ends from a to b into the frame, with its edges smoothed by how much of
// each pixel the stroke covers.
void BlendStroke(DibFrame& frame, QPointF a, QPointF b, double width, const Bgr& colour)
{
    const double half = width / 2;
    const int left = std::max(0, static_cast<int>(std::floor(std::min(a.x(), b.x()) - half - 1)));
    const int right =
        std::min(frame.Width - 1, static_cast<int>(std::ceil(std::max(a.x(), b.x()) + half + 1)));
    const int top = std::max(0, static_cast<int>(std::floor(std::min(a.y(), b.y()) - half - 1)));
    const int bottom =
        std::min(frame.Height - 1, static_cast<int>(std::ceil(std::max(a.y(), b.y()) + half + 1)));
    for (int y = top; y <= bottom; ++y)
    {
        std::uint8_t* row = frame.TopDownRow(y);
        for (int x = left; x <= right; ++x)
        {
            const double cover =
                std::clamp(half + 0.5 - DistanceToSegment(QPointF(x + 0.5, y + 0.5), a, b), 0.0, 1.0);
            if (cover <= 0)
                continue;
            std::uint8_t* pixel = row + 3 * x;
            for (int c = 0; c < 3; ++c)
                pixel[c] = static_cast<std::uint8_t>(std::lround(pixel[c] + (colour[c] - pixel[c]) * cover));
        }
    }
}

void DrawHand(DibFrame& frame, const TestSceneLayout& layout, double degrees, double length, double tail,
              double width, const Bgr& colour)
{
    const double r = layout.ClockRadius;
    BlendStroke(frame, AlongHand(layout, degrees + 180, tail * r), AlongHand(layout, degrees, length * r),
                std::max(1.0, width * r), colour);
}
} // namespace

ClockHandAngles ClockHandAnglesAt(const QTime& time)
{
    const double milliseconds = time.isValid() ? time.msecsSinceStartOfDay() : 0;
    ClockHandAngles angles;
    angles.Second = std::fmod(milliseconds / 1000.0, 60.0) * 6.0;
    angles.Minute = std::fmod(milliseconds / 60000.0, 60.0) * 6.0;
    angles.Hour = std::fmod(milliseconds / 3600000.0, 12.0) * 30.0;
    return angles;
}

void PaintClockFace(QPainter& painter, const TestSceneLayout& layout)
{
    const QPointF centre = layout.ClockCentre;
    const double r = layout.ClockRadius;
    painter.save();
    painter.setPen(Qt::NoPen);

    // A soft shadow on the wall, then the wooden rim and the dial.
    painter.setBrush(QColor(0, 0, 0, 40));
    painter.drawEllipse(centre + QPointF(0.05 * r, 0.08 * r), 1.04 * r, 1.04 * r);
    QRadialGradient rim(centre, r);
    rim.setColorAt(0.85, QColor(110, 72, 44));
    rim.setColorAt(1.0, QColor(72, 46, 30));
    painter.setBrush(rim);
    painter.drawEllipse(centre, r, r);
    QRadialGradient dial(centre - QPointF(0.3 * r, 0.3 * r), 1.3 * r);
    dial.setColorAt(0, QColor(252, 250, 244));
    dial.setColorAt(1, QColor(232, 226, 212));
    painter.setBrush(dial);
    painter.drawEllipse(centre, 0.88 * r, 0.88 * r);

    // Hour marks, longer and heavier at twelve, three, six and nine.
    for (int hour = 0; hour < 12; ++hour)
    {
        const bool quarter = hour % 3 == 0;
        QPen pen(QColor(60, 56, 52), std::max(1.0, (quarter ? 0.07 : 0.035) * r), Qt::SolidLine, Qt::FlatCap);
        painter.setPen(pen);
        painter.drawLine(AlongHand(layout, hour * 30.0, (quarter ? 0.66 : 0.72) * r),
                         AlongHand(layout, hour * 30.0, 0.82 * r));
    }
    painter.restore();
}

void DrawClockHands(DibFrame& frame, const TestSceneLayout& layout, const QTime& time)
{
    const ClockHandAngles angles = ClockHandAnglesAt(time);
    DrawHand(frame, layout, angles.Hour, HourHandLength, 0.10, 0.09, HandColour);
    DrawHand(frame, layout, angles.Minute, MinuteHandLength, 0.10, 0.06, HandColour);
    DrawHand(frame, layout, angles.Second, SecondHandLength, 0.20, 0.022, SecondHandColour);
    // The hub that holds the hands.
    BlendStroke(frame, layout.ClockCentre, layout.ClockCentre, std::max(2.0, 0.12 * layout.ClockRadius),
                SecondHandColour);
}

#include "capture/scene/TestSceneFigure.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace
{
const QColor Jacket(45, 70, 120);
const QColor Trousers(52, 50, 60);
const QColor Shoes(30, 26, 24);
const QColor Skin(224, 182, 148);
const QColor Hair(58, 40, 30);

// Limbs further from the viewer are a shade darker.
QColor Far(const QColor& colour)
{
    return colour.darker(135);
}

// The end of a limb of the given length that leaves joint at degrees from straight down, forward
// being positive.
QPointF Limb(QPointF joint, double degrees, double length)
{
    const double radians = degrees * std::numbers::pi / 180.0;
    return joint + QPointF(std::sin(radians) * length, std::cos(radians) * length);
}

void Stroke(QPainter& painter, QPointF from, QPointF to, double width, const QColor& colour)
{
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawLine(from, to);
}

// One leg: thigh and shin in trousers, and a shoe that lifts its toe as the leg swings forward.
void PaintLeg(QPainter& painter, double h, double thigh, double kneeBend, const QColor& trousers,
              const QColor& shoes)
{
    const QPointF hip(0, 0.52 * h);
    const QPointF knee = Limb(hip, thigh, 0.25 * h);
    const double shin = thigh - kneeBend;
    const QPointF ankle = Limb(knee, shin, 0.235 * h);
    Stroke(painter, hip, knee, 0.085 * h, trousers);
    Stroke(painter, knee, ankle, 0.065 * h, trousers);
    const double lift = std::max(0.0, shin) * 0.6 * std::numbers::pi / 180.0;
    const QPointF heel = ankle + QPointF(-0.012 * h, 0.008 * h);
    const QPointF toe = heel + QPointF(std::cos(lift) * 0.08 * h, -std::sin(lift) * 0.08 * h);
    Stroke(painter, heel, toe, 0.035 * h, shoes);
}

// One arm: upper arm and forearm in the jacket's sleeve, and a hand.
void PaintArm(QPainter& painter, double h, double upper, double elbowBend, const QColor& sleeve,
              const QColor& skin)
{
    const QPointF shoulder(0.005 * h, 0.19 * h);
    const QPointF elbow = Limb(shoulder, upper, 0.17 * h);
    const QPointF wrist = Limb(elbow, upper + elbowBend, 0.15 * h);
    Stroke(painter, shoulder, elbow, 0.058 * h, sleeve);
    Stroke(painter, elbow, wrist, 0.05 * h, sleeve);
    Stroke(painter, wrist, Limb(wrist, upper + elbowBend, 0.02 * h), 0.045 * h, skin);
}

void PaintBodyAndHead(QPainter& painter, double h)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(Skin);
    painter.drawRoundedRect(QRectF(-0.018 * h, 0.10 * h, 0.045 * h, 0.07 * h), 0.01 * h, 0.01 * h);

    QPainterPath jacket;
    jacket.moveTo(-0.07 * h, 0.19 * h);
    jacket.cubicTo(-0.07 * h, 0.14 * h, 0.07 * h, 0.14 * h, 0.075 * h, 0.19 * h);
    jacket.cubicTo(0.08 * h, 0.32 * h, 0.07 * h, 0.45 * h, 0.068 * h, 0.56 * h);
    jacket.lineTo(-0.066 * h, 0.56 * h);
    jacket.cubicTo(-0.072 * h, 0.45 * h, -0.08 * h, 0.30 * h, -0.07 * h, 0.19 * h);
    painter.setBrush(Jacket);
    painter.drawPath(jacket);

    painter.setBrush(Hair);
    painter.drawEllipse(QPointF(-0.006 * h, 0.058 * h), 0.056 * h, 0.052 * h);
    painter.setBrush(Skin);
    painter.drawEllipse(QPointF(0.012 * h, 0.074 * h), 0.048 * h, 0.056 * h);
    painter.drawEllipse(QPointF(0.058 * h, 0.078 * h), 0.012 * h, 0.012 * h);
}

// The figure facing right, its head at the top, its soles at height h, at a moment of its stride.
void PaintFigure(QPainter& painter, double h, bool walking, double phase)
{
    const double angle = 2 * std::numbers::pi * phase;
    const auto swing = [&](double offset) { return walking ? 28 * std::sin(angle + offset) : 0.0; };
    const auto bend = [&](double offset)
    { return walking ? 55 * std::pow(std::max(0.0, std::cos(angle + offset)), 1.5) : 0.0; };
    const auto arm = [&](double offset) { return walking ? -22 * std::sin(angle + offset) : 2.0; };

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 70));
    painter.drawEllipse(QPointF(0, h), 0.17 * h, 0.022 * h);

    PaintArm(painter, h, arm(std::numbers::pi), walking ? 20 : 8, Far(Jacket), Far(Skin));
    PaintLeg(painter, h, swing(std::numbers::pi), bend(std::numbers::pi), Far(Trousers), Far(Shoes));
    PaintLeg(painter, h, swing(0), bend(0), Trousers, Shoes);
    PaintBodyAndHead(painter, h);
    PaintArm(painter, h, arm(0), walking ? 20 : 8, Jacket, Skin);
}

QImage FigurePicture(double h, int width, int height, int top, bool walking, double phase)
{
    QImage picture(width, height, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(width / 2.0, top);
    PaintFigure(painter, h, walking, phase);
    return picture;
}

} // namespace

TestSceneFigure::TestSceneFigure(double height)
    : height_(std::max(height, 1.0)), top_(static_cast<int>(std::ceil(0.02 * height_)) + 1),
      width_(static_cast<int>(std::ceil(0.70 * height_)) + 2)
{
    const int pictureHeight = top_ + static_cast<int>(std::ceil(1.03 * height_)) + 1;
    walking_.reserve(WalkPictures);
    for (int i = 0; i < WalkPictures; ++i)
        walking_.push_back(Trimmed(FigurePicture(height_, width_, pictureHeight, top_, true,
                                                 static_cast<double>(i) / WalkPictures)));
    standing_ = Trimmed(FigurePicture(height_, width_, pictureHeight, top_, false, 0));
}

TestSceneFigure::Picture TestSceneFigure::Trimmed(const QImage& image)
{
    Picture picture;
    if (image.isNull())
        return picture;
    picture.Start.push_back(0);
    for (int y = 0; y < image.height(); ++y)
    {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        int first = 0;
        int end = image.width();
        while (first < end && qAlpha(row[first]) == 0)
            ++first;
        while (end > first && qAlpha(row[end - 1]) == 0)
            --end;
        picture.First.push_back(first);
        picture.Pixels.insert(picture.Pixels.end(), row + first, row + end);
        picture.Start.push_back(picture.Pixels.size());
    }
    return picture;
}

// Blends the premultiplied picture into the frame with its top-left corner at left, top; mirrored
// left to right when asked.
void TestSceneFigure::Blend(DibFrame& frame, const Picture& picture, int left, int top, bool mirror) const
{
    const int rows = static_cast<int>(picture.First.size());
    for (int row = std::max(0, -top); row < rows && top + row < frame.Height; ++row)
    {
        std::uint8_t* target = frame.TopDownRow(top + row);
        const std::size_t begin = picture.Start[static_cast<std::size_t>(row)];
        const std::size_t end = picture.Start[static_cast<std::size_t>(row) + 1];
        for (std::size_t i = begin; i < end; ++i)
        {
            const int column = picture.First[static_cast<std::size_t>(row)] + static_cast<int>(i - begin);
            const int x = left + (mirror ? width_ - 1 - column : column);
            const QRgb colour = picture.Pixels[i];
            const int alpha = qAlpha(colour);
            if (x < 0 || x >= frame.Width || alpha == 0)
                continue;
            std::uint8_t* pixel = target + 3 * x;
            const int keep = 255 - alpha;
            pixel[0] = static_cast<std::uint8_t>(qBlue(colour) + (pixel[0] * keep + 127) / 255);
            pixel[1] = static_cast<std::uint8_t>(qGreen(colour) + (pixel[1] * keep + 127) / 255);
            pixel[2] = static_cast<std::uint8_t>(qRed(colour) + (pixel[2] * keep + 127) / 255);
        }
    }
}

void TestSceneFigure::Draw(DibFrame& frame, const TestSceneFigurePose& pose, double feetY) const
{
    if (!pose.Visible)
        return;
    const Picture* picture = &standing_;
    if (pose.Walking)
    {
        const int index = static_cast<int>(std::lround(pose.StridePhase * WalkPictures)) % WalkPictures;
        picture = &walking_[static_cast<std::size_t>(std::max(index, 0))];
    }
    const int left = static_cast<int>(std::lround(pose.CentreX - width_ / 2.0));
    const int top = static_cast<int>(std::lround(feetY - height_)) - top_;
    Blend(frame, *picture, left, top, !pose.FacingRight);
}

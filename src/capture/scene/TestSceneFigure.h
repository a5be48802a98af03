#pragma once

#include "capture/driver/DibFrame.h"
#include "capture/scene/TestSceneWalk.h"

#include <QImage>
#include <cstddef>
#include <vector>

// The person walking through the test scene. The pictures of the walk (a set of moments of one
// stride, and standing) are painted once when the figure is made; drawing a frame only blends the
// right picture into it, mirrored when the person walks to the left.
class TestSceneFigure
{
public:
    static constexpr int WalkPictures = 16;

    explicit TestSceneFigure(double height);

    // Width of the figure's pictures in pixels.
    int Width() const { return width_; }
    // Blends the figure standing on feetY (pixels from the top) into the frame.
    void Draw(DibFrame& frame, const TestSceneFigurePose& pose, double feetY) const;

private:
    // A picture without its transparent margins: each row keeps only the pixels from its first to its
    // last visible one, which is a fraction of the picture's rectangle.
    struct Picture
    {
        std::vector<int> First;
        // Where each row starts in Pixels; one more entry marks the end of the last row.
        std::vector<std::size_t> Start;
        std::vector<QRgb> Pixels;
    };

    static Picture Trimmed(const QImage& image);
    void Blend(DibFrame& frame, const Picture& picture, int left, int top, bool mirror) const;

    double height_;
    int top_;
    int width_;
    std::vector<Picture> walking_;
    Picture standing_;
};

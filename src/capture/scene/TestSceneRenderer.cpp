#include "capture/scene/TestSceneRenderer.h"

#include "capture/scene/TestSceneClock.h"
#include "capture/scene/TestSceneRoom.h"

#include <algorithm>
#include <cstring>

namespace
{
QSize Bounded(QSize size)
{
    return {std::clamp(size.width(), 1, TestSceneRenderer::MaxSide),
            std::clamp(size.height(), 1, TestSceneRenderer::MaxSide)};
}

// The room's picture turned into bottom-up rows of blue, green, red, padded to four bytes.
std::vector<std::uint8_t> DibRows(const QImage& room)
{
    if (room.isNull())
        return {};
    DibFrame rows;
    rows.Resize(room.width(), room.height());
    for (int y = 0; y < room.height(); ++y)
    {
        const auto* source = reinterpret_cast<const QRgb*>(room.constScanLine(y));
        std::uint8_t* target = rows.TopDownRow(y);
        for (int x = 0; x < room.width(); ++x)
        {
            target[3 * x] = static_cast<std::uint8_t>(qBlue(source[x]));
            target[3 * x + 1] = static_cast<std::uint8_t>(qGreen(source[x]));
            target[3 * x + 2] = static_cast<std::uint8_t>(qRed(source[x]));
        }
    }
    return std::move(rows.Bits);
}
} // namespace

TestSceneRenderer::TestSceneRenderer(QSize size, int framesPerSecond)
    : layout_(TestSceneLayoutFor(Bounded(size))), framesPerSecond_(std::clamp(framesPerSecond, 1, 240)),
      background_(DibRows(PaintTestSceneRoom(layout_))), figure_(layout_.FigureHeight)
{
}

TestSceneFigurePose TestSceneRenderer::FigureAt(std::uint64_t frameNumber) const
{
    return FigurePoseAt(static_cast<double>(frameNumber) / framesPerSecond_, layout_, figure_.Width());
}

void TestSceneRenderer::Render(std::uint64_t frameNumber, const QTime& clockTime, DibFrame& frame) const
{
    frame.Resize(layout_.Size.width(), layout_.Size.height());
    if (background_.size() != frame.Bits.size())
    {
        std::fill(frame.Bits.begin(), frame.Bits.end(), std::uint8_t{128});
        return;
    }
    std::memcpy(frame.Bits.data(), background_.data(), background_.size());
    DrawClockHands(frame, layout_, clockTime);
    figure_.Draw(frame, FigureAt(frameNumber), layout_.FeetY);
}

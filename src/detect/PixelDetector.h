#pragma once

#include "detect/FrameDetector.h"
#include "detect/FramePixels.h"

#include <cstdint>
#include <vector>

class DetectionMask;

// The moving-pixels detector's state. The frame is reduced to a grid of brightness (luma) values,
// one for each square of Step x Step pixels, from which the detector learns a background and the
// camera's noise. FrameCount counts as the byte sum's detector does: 0 when learning is due, 1 to 25
// while the first frames are learned, 26 once frames are compared.
struct PixelDetectorState
{
    std::int16_t FrameCount = 0;
    // The frame size the grid was made for.
    int FrameWidth = 0;
    int FrameHeight = 0;
    int Step = 1;
    int GridWidth = 0;
    int GridHeight = 0;
    std::vector<float> Luma;
    std::vector<float> Background;
    // 1 for each cell that differed from the background in the last compared frame, and for each
    // of those that counted, with enough changed neighbours.
    std::vector<std::uint8_t> Raw;
    std::vector<std::uint8_t> Changed;
    // How long each cell has been changed without a break.
    std::vector<float> ChangedSeconds;
    // 1 for each cell that is watched, as the mask of MaskVersion says.
    std::vector<std::uint8_t> Watched;
    int WatchedCells = 0;
    std::uint64_t MaskVersion = 0;
    // The camera's noise: the standard deviation of a cell's luma from frame to frame.
    float Noise = 0.0f;
    // While learning: the luma of the frame before, for the noise.
    std::vector<float> Previous;
    // Frames left in which the background is learned anew after a change of the whole picture.
    int Settling = 0;
    std::uint32_t LastTime = 0;
};

// Feeds one frame to the detector. The first 25 frames learn the background and the noise; each
// frame after is compared with the background, corrected for a change of the whole picture's
// brightness. Cells whose difference is above the noise and that have changed neighbours count;
// their share of the watched cells, on the sensitivity's scale, is the step's Change, and a
// detection when it is greater than the sensitivity. A change of most of the picture at once starts
// the background anew instead. Only the cells the mask watches count.
DetectorStep StepPixelDetector(PixelDetectorState& state, const FramePixels& frame, double sensitivity,
                               const DetectionMask& mask);

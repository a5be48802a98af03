#include "capture/v4l2/V4l2Inputs.h"

#include "capture/v4l2/V4l2Text.h"

#include <linux/videodev2.h>

std::vector<V4l2Input> QueryV4l2Inputs(const V4l2Api& api, int fd)
{
    // A device that never ends the list is not followed further than this.
    constexpr std::uint32_t MaxInputs = 64;
    std::vector<V4l2Input> inputs;
    for (std::uint32_t index = 0; index < MaxInputs; ++index)
    {
        v4l2_input input{};
        input.index = index;
        if (V4l2Ioctl(api, fd, VIDIOC_ENUMINPUT, &input) < 0)
            break;
        QString name = V4l2Text(input.name);
        inputs.push_back({index, name.isEmpty() ? QStringLiteral("Input %1").arg(index + 1) : name});
    }
    return inputs;
}

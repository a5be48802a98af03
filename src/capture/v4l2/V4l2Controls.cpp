#include "capture/v4l2/V4l2Controls.h"

#include "capture/v4l2/V4l2Text.h"

#include <algorithm>
#include <cerrno>
#include <linux/videodev2.h>

namespace
{
// A device that never ends a list is not followed further than this.
constexpr int MaxControls = 1024;
constexpr std::int64_t MaxMenuEntries = 1024;

bool SupportedType(std::uint32_t type)
{
    switch (type)
    {
    case V4L2_CTRL_TYPE_INTEGER:
    case V4L2_CTRL_TYPE_BOOLEAN:
    case V4L2_CTRL_TYPE_MENU:
    case V4L2_CTRL_TYPE_INTEGER_MENU:
    case V4L2_CTRL_TYPE_BUTTON:
    case V4L2_CTRL_TYPE_CTRL_CLASS:
        return true;
    default:
        return false;
    }
}

std::vector<V4l2MenuEntry> QueryMenu(const V4l2Api& api, int fd, const V4l2Control& control)
{
    std::vector<V4l2MenuEntry> entries;
    const std::int64_t last =
        std::min<std::int64_t>(control.Maximum, std::int64_t(control.Minimum) + MaxMenuEntries);
    for (std::int64_t index = std::max(control.Minimum, 0); index <= last; ++index)
    {
        v4l2_querymenu item{};
        item.id = control.Id;
        item.index = static_cast<std::uint32_t>(index);
        // Menus may have gaps: an index the device does not know is skipped.
        if (V4l2Ioctl(api, fd, VIDIOC_QUERYMENU, &item) < 0)
            continue;
        const QString text =
            control.Type == V4L2_CTRL_TYPE_INTEGER_MENU ? QString::number(item.value) : V4l2Text(item.name);
        entries.push_back({static_cast<std::int32_t>(index), text});
    }
    return entries;
}

std::int32_t CurrentValue(const V4l2Api& api, int fd, const V4l2Control& control)
{
    if (control.Type == V4L2_CTRL_TYPE_BUTTON || control.Type == V4L2_CTRL_TYPE_CTRL_CLASS ||
        (control.Flags & V4L2_CTRL_FLAG_WRITE_ONLY))
        return control.Default;
    v4l2_control value{};
    value.id = control.Id;
    return V4l2Ioctl(api, fd, VIDIOC_G_CTRL, &value) < 0 ? control.Default : value.value;
}
} // namespace

bool V4l2Control::Adjustable() const
{
    return !(Flags & (V4L2_CTRL_FLAG_READ_ONLY | V4L2_CTRL_FLAG_INACTIVE | V4L2_CTRL_FLAG_GRABBED));
}

std::uint32_t V4l2Control::ClassId() const
{
    return V4L2_CTRL_ID2CLASS(Id);
}

std::vector<V4l2Control> QueryV4l2Controls(const V4l2Api& api, int fd)
{
    std::vector<V4l2Control> controls;
    std::uint32_t previous = 0;
    for (int count = 0; count < MaxControls; ++count)
    {
        v4l2_queryctrl query{};
        query.id = previous | V4L2_CTRL_FLAG_NEXT_CTRL;
        if (V4l2Ioctl(api, fd, VIDIOC_QUERYCTRL, &query) < 0 || query.id <= previous)
            break;
        previous = query.id;
        if ((query.flags & V4L2_CTRL_FLAG_DISABLED) || !SupportedType(query.type))
            continue;
        V4l2Control control;
        control.Id = query.id;
        control.Type = query.type;
        control.Name = V4l2Text(query.name);
        control.Minimum = query.minimum;
        control.Maximum = std::max(query.maximum, query.minimum);
        control.Step = query.step > 0 ? query.step : 1;
        control.Default = query.default_value;
        control.Flags = query.flags;
        if (control.Type == V4L2_CTRL_TYPE_MENU || control.Type == V4L2_CTRL_TYPE_INTEGER_MENU)
        {
            control.Menu = QueryMenu(api, fd, control);
            if (control.Menu.empty())
                continue;
        }
        control.Value = CurrentValue(api, fd, control);
        controls.push_back(std::move(control));
    }
    return controls;
}

int SetV4l2Control(const V4l2Api& api, int fd, std::uint32_t id, std::int32_t value)
{
    v4l2_control control{};
    control.id = id;
    control.value = value;
    return V4l2Ioctl(api, fd, VIDIOC_S_CTRL, &control) < 0 ? errno : 0;
}

QString V4l2ClassName(std::uint32_t classId)
{
    switch (classId)
    {
    case V4L2_CTRL_CLASS_USER:
        return QStringLiteral("User Controls");
    case V4L2_CTRL_CLASS_CAMERA:
        return QStringLiteral("Camera Controls");
    case V4L2_CTRL_CLASS_IMAGE_SOURCE:
        return QStringLiteral("Image Source Controls");
    case V4L2_CTRL_CLASS_IMAGE_PROC:
        return QStringLiteral("Image Processing Controls");
    default:
        return QStringLiteral("Other Controls");
    }
}

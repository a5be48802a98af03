#include "capture/v4l2/V4l2Devices.h"

#include "capture/v4l2/V4l2Text.h"

#include <QRegularExpression>
#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <linux/videodev2.h>

std::optional<V4l2DeviceInfo> QueryV4l2Device(const V4l2Api& api, int fd, const QString& path)
{
    v4l2_capability caps{};
    if (V4l2Ioctl(api, fd, VIDIOC_QUERYCAP, &caps) < 0)
        return std::nullopt;
    V4l2DeviceInfo info;
    info.Path = path;
    info.Card = V4l2Text(caps.card);
    if (info.Card.isEmpty())
        info.Card = path;
    info.BusInfo = V4l2Text(caps.bus_info);
    info.Version = QStringLiteral("%1.%2.%3")
                       .arg((caps.version >> 16) & 0xff)
                       .arg((caps.version >> 8) & 0xff)
                       .arg(caps.version & 0xff);
    info.Capabilities = (caps.capabilities & V4L2_CAP_DEVICE_CAPS) ? caps.device_caps : caps.capabilities;
    return info;
}

std::vector<V4l2DeviceInfo> ListV4l2Devices(const V4l2Api& api, const QString& folder)
{
    static const QRegularExpression videoNode(QStringLiteral("^video(\\d{1,9})$"));
    std::vector<std::pair<int, QString>> nodes;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder.toStdString(), error), end; !error && entry != end;
         entry.increment(error))
    {
        const QString name = QString::fromStdString(entry->path().filename().string());
        const QRegularExpressionMatch match = videoNode.match(name);
        if (match.hasMatch())
            nodes.emplace_back(match.captured(1).toInt(), QString::fromStdString(entry->path().string()));
    }
    std::sort(nodes.begin(), nodes.end());

    std::vector<V4l2DeviceInfo> devices;
    for (const auto& [number, path] : nodes)
    {
        const int fd = api.Open(path.toLocal8Bit().constData(), O_RDWR | O_NONBLOCK);
        if (fd < 0)
            continue;
        std::optional<V4l2DeviceInfo> info = QueryV4l2Device(api, fd, path);
        api.Close(fd);
        if (info && (info->Capabilities & V4L2_CAP_VIDEO_CAPTURE))
            devices.push_back(std::move(*info));
    }
    return devices;
}

QString V4l2ConfigPrefix(const V4l2DeviceInfo& device)
{
    static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9._:@-]"));
    QString id = device.Card + QChar('@') + (device.BusInfo.isEmpty() ? device.Path : device.BusInfo);
    return QStringLiteral("V4l2.") + id.replace(unsafe, QStringLiteral("_")) + QChar('.');
}

#include "capture/avicap.h"

#include "capture/driver/CaptureDriverList.h"
#include "capture/window/CaptureWindow.h"

#include <algorithm>
#include <cstring>

namespace
{
// Copies text into a buffer of size bytes, NUL-terminated and padded with NULs. A text that does not
// fit is cut at a character boundary.
void FillBuffer(char* buffer, int size, const QByteArray& text)
{
    if (buffer == nullptr || size <= 0)
        return;
    std::memset(buffer, 0, static_cast<std::size_t>(size));
    qsizetype length = std::min<qsizetype>(text.size(), size - 1);
    while (length < text.size() && length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
        --length;
    std::memcpy(buffer, text.constData(), static_cast<std::size_t>(length));
}
} // namespace

CaptureWindow* capCreateCaptureWindowA(const char* windowName, std::uint32_t style, int x, int y, int width,
                                       int height, QWidget* parent, int id)
{
    auto* window = new CaptureWindow(parent);
    window->setObjectName(QStringLiteral("CaptureWindow%1").arg(id));
    window->setWindowTitle(QString::fromUtf8(windowName != nullptr ? windowName : ""));
    window->setGeometry(x, y, width, height);
    window->setVisible((style & WS_VISIBLE) != 0);
    return window;
}

bool capGetDriverDescriptionA(std::uint16_t driverIndex, char* name, int nameSize, char* version,
                              int versionSize)
{
    const std::vector<CaptureDriverEntry> drivers = EnumerateCaptureDrivers();
    if (driverIndex >= drivers.size())
        return false;
    FillBuffer(name, nameSize, drivers[driverIndex].Name.toUtf8());
    FillBuffer(version, versionSize, drivers[driverIndex].Version.toUtf8());
    return true;
}

// Feeds arbitrary bytes to the picture reader the detection browser opens stored images with; the
// reader takes the file's content, not its name, for its format, so every format is reached.

#include <QImage>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QImage picture =
        QImage::fromData(QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    // The browser shows what it read scaled to its picture box.
    if (!picture.isNull()) [[maybe_unused]]
        const QImage shown = picture.scaled(64, 48);
    return 0;
}

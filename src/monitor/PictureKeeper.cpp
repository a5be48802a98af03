#include "monitor/PictureKeeper.h"

#include "capture/driver/DibFrame.h"
#include "common/Options.h"
#include "common/SettingsRecord.h"
#include "store/DetectionStore.h"
#include "ui/MessageBox.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <cstring>

namespace
{
constexpr int MaxPending = 8;

// The frame as a picture the worker encodes, its rows turned top-down.
QImage FrameImage(const DibFrame& frame)
{
    QImage image(frame.Width, frame.Height, QImage::Format_BGR888);
    if (image.isNull())
        return image;
    const std::size_t rowBytes = static_cast<std::size_t>(frame.Width) * 3;
    for (int y = 0; y < frame.Height; ++y)
        std::memcpy(image.scanLine(y), frame.TopDownRow(y), rowBytes);
    return image;
}
} // namespace

PictureKeeper::PictureKeeper(Ports ports, QObject* parent) : QObject(parent), ports_(std::move(ports))
{
    connect(&writer_, &PictureWriter::Written, this, &PictureKeeper::Written);
    connect(&writer_, &PictureWriter::Failed, this, &PictureKeeper::Failed);
}

std::optional<QString> PictureKeeper::NextPath(std::int32_t storedFileCount) const
{
    return NextImagePath(
        ports_.Settings.ImageDirectory, storedFileCount,
        [this](const QString& path) { return writer_.Pending(path) || QFileInfo::exists(path); },
        ports_.Options.Format);
}

bool PictureKeeper::Save(const QString& path, QString* error)
{
    if (ports_.Options.Format == PictureFormat::Bmp)
        return ports_.SaveBitmap(path, error);
    if (frame_ == nullptr || frame_->Empty() || frame_->Bits.size() < frame_->BytesUsed())
    {
        *error = QStringLiteral("no frame to save");
        return false;
    }
    // Detections faster than the worker encodes would heap pictures up in memory.
    if (writer_.PendingCount() >= MaxPending)
    {
        *error = QStringLiteral("the pictures before it are still being written");
        return false;
    }
    const QImage image = FrameImage(*frame_);
    if (image.isNull())
    {
        *error = QStringLiteral("not enough memory for the picture");
        return false;
    }
    writer_.Write(image, path, ports_.Options.Format, ports_.Options.JpegQuality);
    return true;
}

int PictureKeeper::DeleteOldest(int count)
{
    return DeleteOldestPictures(ports_.Settings.ImageDirectory, count);
}

bool PictureKeeper::RoomOnDisk(QString* error)
{
    const QString folder = ports_.Settings.ImageDirectory;
    // A bitmap of the frame is the largest a picture of it gets.
    const std::int64_t bytes =
        frame_ != nullptr ? static_cast<std::int64_t>(frame_->BytesUsed()) + 54 : std::int64_t{0};
    const std::optional<QString> shortage =
        KeepDiskFloor(folder, bytes, std::int64_t{ports_.Options.KeepFreeMb} * 1024 * 1024,
                      ports_.Options.WhenFullAction == WhenFull::ReplaceOldest, freeBytes_);
    const QString shown = QDir::toNativeSeparators(folder);
    if (!shortage)
    {
        if (diskShort_)
            ports_.Notice(QStringLiteral("Pictures are saved again in %1.").arg(shown));
        diskShort_ = false;
        return true;
    }
    *error = *shortage;
    if (!diskShort_)
    {
        ports_.Messages.Show(
            QStringLiteral("Vantu cannot keep its pictures in the folder \"%1\": %2.\r\rPictures are not "
                           "saved until there is room again; the space kept free is set on the Events tab of "
                           "View, Preferences.")
                .arg(shown, *shortage),
            MsgBoxStyle::Exclamation, {});
        ports_.Notice(QStringLiteral("Pictures are not saved: %1.").arg(*shortage));
    }
    diskShort_ = true;
    return false;
}

void PictureKeeper::MailWhenWritten(const QString& path, const QString& text)
{
    if (writer_.Pending(path))
        mailWhenWritten_.insert(path, text);
    else
        ports_.Mail(path, text);
}

void PictureKeeper::Written(const QString& path)
{
    emit PictureDone(path, true);
    const auto mail = mailWhenWritten_.constFind(path);
    if (mail == mailWhenWritten_.cend())
        return;
    const QString text = *mail;
    mailWhenWritten_.erase(mail);
    ports_.Mail(path, text);
}

void PictureKeeper::Failed(const QString& path, const QString& reason)
{
    mailWhenWritten_.remove(path);
    emit PictureDone(path, false);
    ports_.Notice(QStringLiteral("The picture could not be saved to %1: %2").arg(path, reason));
}

#pragma once

#include "store/PictureWriter.h"
#include "store/Retention.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

class IMessageBox;
struct DibFrame;
struct ProgramOptions;
struct SettingsRecord;

// The pictures of detections as the options ask for them: bitmaps written as ever, JPEG and PNG
// encoded on a worker thread; the space kept free on the disk; the oldest pictures deleted to make
// room; a picture mailed once it is written.
class PictureKeeper final : public QObject
{
    Q_OBJECT

public:
    struct Ports
    {
        const SettingsRecord& Settings;
        const ProgramOptions& Options;
        // Where a shortage of disk space is told, once until it is over.
        IMessageBox& Messages;
        // Saves the frame handed out last as a bitmap file; false, with the reason, when it could not.
        std::function<bool(const QString& path, QString* error)> SaveBitmap;
        // Mails a written picture; text, when not empty, is the message's text.
        std::function<void(const QString& path, const QString& text)> Mail;
        // Tells the user something without waiting for an answer.
        std::function<void(const QString& text)> Notice;
    };

    explicit PictureKeeper(Ports ports, QObject* parent = nullptr);

    // Holds the frame being analysed while it is in hand: a detection's picture is taken from it.
    class FrameInHand
    {
    public:
        FrameInHand(PictureKeeper& keeper, const DibFrame& frame) : keeper_(keeper)
        {
            keeper_.frame_ = &frame;
        }
        ~FrameInHand() { keeper_.frame_ = nullptr; }
        FrameInHand(const FrameInHand&) = delete;
        FrameInHand& operator=(const FrameInHand&) = delete;

    private:
        PictureKeeper& keeper_;
    };
    // Replaces the file system's free space, for tests.
    void UseFreeSpace(FreeSpaceQuery freeBytes) { freeBytes_ = std::move(freeBytes); }

    // The path of the next picture in the chosen format; names being written are taken.
    std::optional<QString> NextPath(std::int32_t storedFileCount) const;
    // Pictures handed to the worker and not in the folder yet; they count as stored.
    int PendingCount() const { return writer_.PendingCount(); }
    // Writes the current frame to path in the chosen format; false, with the reason, when it cannot.
    bool Save(const QString& path, QString* error);
    // Deletes the count oldest stored pictures; the number deleted.
    int DeleteOldest(int count);
    // Whether the disk has room for a picture above the space kept free, after the oldest pictures and
    // clips made room when the options say so. A shortage is told once, in a box and a notice, and
    // its end too.
    bool RoomOnDisk(QString* error);
    // Mails the picture at path now, or once it is written.
    void MailWhenWritten(const QString& path, const QString& text);
    // Whether the picture at path is still being written.
    bool Pending(const QString& path) const { return writer_.Pending(path); }

signals:
    // A picture handed to the worker is in the folder, or could not be written.
    void PictureDone(const QString& path, bool written);

private:
    void Written(const QString& path);
    void Failed(const QString& path, const QString& reason);

    Ports ports_;
    PictureWriter writer_;
    FreeSpaceQuery freeBytes_ = SystemFreeBytes;
    const DibFrame* frame_ = nullptr;
    // Pictures being written that are to be mailed, with their message's text.
    QHash<QString, QString> mailWhenWritten_;
    bool diskShort_ = false;
};

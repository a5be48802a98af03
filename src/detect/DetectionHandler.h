#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

class IClock;
struct ProgramOptions;
struct SettingsRecord;

// What the rest of the program does for a detection: the log, the image store, the sound and the mail
// are reached through these, so that detection knows none of them.
struct DetectionServices
{
    IClock& Clock;
    // Appends one line to the log (the writer puts the ">" in front).
    std::function<void(const QString& text)> WriteLog;
    // The path the next image is saved under, given the number of stored images; empty when every
    // name is taken.
    std::function<std::optional<QString>(std::int32_t storedFileCount)> NextImagePath;
    std::function<void()> NotifySound;
    std::function<void(const QString& imageFile)> NotifyEmail;
    // The number of images in the image folder now; empty, with the reason, when the folder cannot
    // be used.
    std::function<std::optional<std::int32_t>(QString* error)> CountStoredImages;
    // Saves the current frame in the chosen picture format; false, with the reason, when it could not
    // be written.
    std::function<bool(const QString& path, QString* error)> SaveFrame;
    // Shows the new detection count; called before the log line, whose writing may open a box.
    std::function<void(std::int32_t count)> ShowCount;
    // Tells the user something without waiting for an answer.
    std::function<void(const QString& text)> Notice;
    // Deletes the oldest stored pictures, count of them at most; the number deleted.
    std::function<int(int count)> DeleteOldestPictures;
    // Whether the disk has room for the picture above the space kept free; false, with the reason,
    // when saving must wait.
    std::function<bool(QString* error)> RoomOnDisk;
};

// What one detection did.
struct DetectionResult
{
    // False outside Monitor mode.
    bool Counted = false;
    // The image written, if any.
    std::optional<QString> ImageFile;
    // The log line, without its ">".
    QString LogLine;
};

// Handles a detection: the sound, and in Monitor mode the image, the e-mail and the log line.
class DetectionHandler
{
public:
    DetectionHandler(const SettingsRecord& settings, const ProgramOptions& options,
                     DetectionServices services);

    // Outside Monitor mode a detection only plays the sound and is not counted. In Monitor mode the
    // images are counted afresh before the limit is tested and the name chosen, so that every picture
    // written so far counts: the limit holds exactly. At the limit, the oldest pictures make room when
    // the options say so. eventHasPicture tells that the detection's event has its picture saved, which
    // is then the only one kept when one picture per event is asked for.
    DetectionResult Handle(bool monitoring, bool eventHasPicture = false);

    // Detections counted in this run.
    std::int32_t DetectionCount() const { return detectionCount_; }

private:
    // Writes the frame under the next free name and mails it.
    void Save(std::int32_t storedFileCount, DetectionResult& result);

    const SettingsRecord& settings_;
    const ProgramOptions& options_;
    DetectionServices services_;
    std::int32_t detectionCount_ = 0;
    // The last save failed: the user has been told and is told again only after a success. A folder
    // that cannot be used is told by whoever counts it.
    bool saveFailing_ = false;
    bool limitNoticeShown_ = false;
};

#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

class IClock;
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
    // Counts the images in the image folder again; false when the folder cannot be used.
    std::function<bool()> RefreshStore;
    // Saves the current frame as a bitmap file; false, with the reason, when it could not be written.
    std::function<bool(const QString& path, QString* error)> SaveFrame;
    // Shows the new detection count; called before the log line, whose writing may open a box.
    std::function<void(std::int32_t count)> ShowCount;
    // Tells the user something without waiting for an answer.
    std::function<void(const QString& text)> Notice;
};

// What one detection did.
struct DetectionResult
{
    // False outside Monitor mode, and when the image folder could not be counted.
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
    DetectionHandler(const SettingsRecord& settings, DetectionServices services);

    // storedFileCount is the number of images in the folder as last listed. Outside Monitor mode a
    // detection only plays the sound and is not counted.
    DetectionResult Handle(bool monitoring, std::int32_t storedFileCount);

    // Detections counted in this run.
    std::int32_t DetectionCount() const { return detectionCount_; }

private:
    const SettingsRecord& settings_;
    DetectionServices services_;
    std::int32_t detectionCount_ = 0;
    // The last save failed: the user has been told and is told again only after a success.
    bool saveFailing_ = false;
    bool limitNoticeShown_ = false;
};

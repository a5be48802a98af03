#pragma once

#include "common/KeyValueText.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

enum class DetectMethod
{
    Sum,    // the sum of the frame's bytes against the frame before
    Pixels, // moving pixels: the share of the picture that differs from a learned background
};

enum class PictureFormat
{
    Bmp,
    Jpeg,
    Png,
};

enum class WhenFull
{
    Stop,          // no more pictures are saved
    ReplaceOldest, // the oldest pictures make room for the newest
};

enum class EventPictures
{
    All,   // every detection's picture
    First, // the first picture of each event
};

enum class EventMail
{
    PerDetection,
    PerEvent,
};

// What the program does beyond its classic behaviour, kept in "Vantu.Options". Every default keeps the
// classic behaviour.
struct ProgramOptions
{
    DetectMethod Method = DetectMethod::Sum;
    // An image whose dark pixels are not watched; empty watches the whole picture.
    QString MaskPath;

    PictureFormat Format = PictureFormat::Bmp;
    int JpegQuality = 85;
    WhenFull WhenFullAction = WhenFull::Stop;
    // Space left free on the picture folder's disk, in megabytes.
    int KeepFreeMb = 500;
    EventPictures Pictures = EventPictures::All;

    // Detections less than this apart form one event.
    int EventGapSeconds = 10;
    EventMail Mail = EventMail::PerDetection;
    bool Clips = false;
    int PreSeconds = 2;
    int PostSeconds = 5;
    // Writes a log line when an event ends.
    bool LogEvents = false;

    // Weekly windows in which Monitor mode watches; empty is always.
    QString Schedule;
    bool DesktopNotify = true;
    QString Webhook;
    QString WebhookToken;

    bool operator==(const ProgramOptions&) const = default;
};

// One key of the options file: how its text is read into the options and written from them.
struct OptionKey
{
    QString Key;
    // False when the text is no value of this key; the options are then left as they are.
    std::function<bool(ProgramOptions& options, const QString& text)> Read;
    std::function<QString(const ProgramOptions& options)> Write;
    // The values the key takes, as told to the user when a value is bad.
    QString Allowed;
};

// Every key of the options file, in the order they are described.
const std::vector<OptionKey>& OptionKeys();

// The options from the file's values. A key with a bad value keeps its default, and problems gets a
// sentence saying so; unknown keys are left for the file to keep.
ProgramOptions ReadOptions(const KeyValues& values, QStringList* problems);

// The values of every key, to be written to the file.
KeyValues OptionValues(const ProgramOptions& options);

#pragma once

#include "common/Options.h"

#include <QImage>
#include <QObject>
#include <QSet>
#include <QString>
#include <QThread>
#include <memory>

// Writes detection pictures as JPEG or PNG on a worker thread, so that encoding never holds up the
// user-interface thread. Each file is written under a temporary name in its folder and renamed when
// whole: a listing of the folder never sees half a picture. Until then the path is pending: it is
// taken, and counts as a stored picture.
class PictureWriter final : public QObject
{
    Q_OBJECT

public:
    explicit PictureWriter(QObject* parent = nullptr);
    // Waits for the pictures handed over to be written.
    ~PictureWriter() override;

    // Encodes image in format (JPEG with quality from 0 to 100) and writes it to path.
    void Write(const QImage& image, const QString& path, PictureFormat format, int quality);

    // Whether the picture at path was handed over and is not written yet.
    bool Pending(const QString& path) const { return pending_.contains(path); }
    // The number of pictures handed over and not yet in their folder under their name.
    int PendingCount() const;

signals:
    // The picture is in its folder under its name.
    void Written(const QString& path);
    // The picture could not be written; the reason is in plain words.
    void Failed(const QString& path, const QString& reason);

private:
    void Done(const QString& path, const QString& error);

    QThread thread_;
    std::unique_ptr<QObject> worker_;
    QSet<QString> pending_;
};

// Encodes image in format and writes it to path through a temporary file in the same folder; false,
// with the reason, when it could not be written. Nothing is left under path on failure.
bool WritePicture(const QImage& image, const QString& path, PictureFormat format, int quality,
                  QString* error);

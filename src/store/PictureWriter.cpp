#include "store/PictureWriter.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>
#include <algorithm>

PictureWriter::PictureWriter(QObject* parent) : QObject(parent), worker_(std::make_unique<QObject>())
{
    worker_->moveToThread(&thread_);
    thread_.setObjectName(QStringLiteral("PictureWriter"));
    thread_.start();
}

PictureWriter::~PictureWriter()
{
    // The worker ends after the pictures handed over before this are written.
    QMetaObject::invokeMethod(
        worker_.get(), [] { QThread::currentThread()->quit(); }, Qt::QueuedConnection);
    thread_.wait();
}

void PictureWriter::Write(const QImage& image, const QString& path, PictureFormat format, int quality)
{
    pending_.insert(path);
    QMetaObject::invokeMethod(
        worker_.get(),
        [this, image, path, format, quality]
        {
            QString error;
            WritePicture(image, path, format, quality, &error);
            QMetaObject::invokeMethod(
                this, [this, path, error] { Done(path, error); }, Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

int PictureWriter::PendingCount() const
{
    // A picture renamed into place whose report has not arrived yet is already in the folder.
    return static_cast<int>(std::count_if(pending_.cbegin(), pending_.cend(),
                                          [](const QString& path) { return !QFileInfo::exists(path); }));
}

void PictureWriter::Done(const QString& path, const QString& error)
{
    pending_.remove(path);
    if (error.isEmpty())
        emit Written(path);
    else
        emit Failed(path, error);
}

bool WritePicture(const QImage& image, const QString& path, PictureFormat format, int quality, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
    {
        *error = file.errorString();
        return false;
    }
    QImageWriter writer(&file, format == PictureFormat::Png ? "png" : "jpeg");
    if (format == PictureFormat::Jpeg)
        writer.setQuality(std::clamp(quality, 0, 100));
    // The encoders take rows in red-green-blue order as they are; other orders are converted row by row,
    // which costs more than converting the whole picture first.
    if (!writer.write(image.convertToFormat(QImage::Format_RGB888)))
    {
        *error = file.error() != QFileDevice::NoError ? file.errorString() : writer.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
    {
        *error = file.errorString();
        return false;
    }
    return true;
}

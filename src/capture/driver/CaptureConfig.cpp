#include "capture/driver/CaptureConfig.h"

#include "common/AtomicFile.h"

CaptureConfig::CaptureConfig(QString path)
    : path_(std::move(path)), values_(ParseKeyValues(ReadSettingsText(path_)))
{
}

CaptureConfig::CaptureConfig(QString path, const QByteArray& text)
    : path_(std::move(path)), values_(ParseKeyValues(text))
{
}

QString CaptureConfig::Value(const QString& key, const QString& fallback) const
{
    const auto found = values_.find(key);
    return found != values_.end() ? found->second : fallback;
}

bool CaptureConfig::SetValue(const QString& key, const QString& value, QString* error)
{
    values_[key] = value;
    return ReplaceFileContents(
        path_,
        KeyValueFileText(
            QStringLiteral("Vantu capture settings: video source location, formats and display options."),
            values_),
        error);
}

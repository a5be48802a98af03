#include "support/StreamFixture.h"

void StreamFixture::SetUp()
{
    ASSERT_TRUE(folder_.isValid());
    config_ = std::make_unique<CaptureConfig>(folder_.filePath(QStringLiteral("Vantu.Capture")));
}

QString StreamFixture::WriteClip(const QString& name, const StreamClip& clip)
{
    const QString path = folder_.filePath(name);
    QString error;
    EXPECT_TRUE(WriteStreamClip(path, clip, &error)) << error.toStdString();
    return path;
}

void StreamFixture::Set(const char* key, const QString& value)
{
    QString error;
    ASSERT_TRUE(config_->SetValue(QString::fromLatin1(key), value, &error)) << error.toStdString();
}

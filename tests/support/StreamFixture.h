#pragma once

#include "capture/driver/CaptureConfig.h"
#include "support/StreamClipWriter.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// A folder of its own for a stream driver test: the capture settings file and the clips it plays.
class StreamFixture : public ::testing::Test
{
protected:
    void SetUp() override;

    // Writes clip under name in the folder and returns its path.
    QString WriteClip(const QString& name, const StreamClip& clip);
    // Sets a capture setting, as the Source and Format dialogs keep them.
    void Set(const char* key, const QString& value);

    QTemporaryDir folder_;
    std::unique_ptr<CaptureConfig> config_;
};

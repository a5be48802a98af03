#include "ui/Pictures.h"

#include <QImage>
#include <gtest/gtest.h>

TEST(Pictures, AreDrawnWithTheScreensDevicePixelsAtTheirOwnSize)
{
    for (const qreal scale : {1.0, 1.5, 2.0})
    {
        SCOPED_TRACE(scale);
        const QPixmap picture = ProgramPicture(QStringLiteral("status-preview"), QSize(128, 140), scale);
        EXPECT_EQ(picture.deviceIndependentSize(), QSizeF(128, 140));
        EXPECT_EQ(picture.size(), (QSizeF(128, 140) * scale).toSize());
        // The picture's background fills it to its last device pixel.
        const QImage image = picture.toImage();
        EXPECT_EQ(qAlpha(image.pixel(image.width() - 1, image.height() - 1)), 255);
    }
}

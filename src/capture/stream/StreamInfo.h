#pragma once

#include <QSize>
#include <QString>

// What a source offers, as the Format dialog shows it.
struct StreamInfo
{
    QString Codec;
    QSize Size;
    // 0 when the source does not say.
    double FramesPerSecond = 0;
};

#include "capture/scene/TestSceneFormat.h"

#include <QRegularExpression>
#include <algorithm>

const std::vector<QSize>& TestSceneSizes()
{
    static const std::vector<QSize> sizes{{320, 240}, {640, 480}, {800, 600}, {1280, 720}, {1920, 1080}};
    return sizes;
}

const std::vector<int>& TestSceneRates()
{
    static const std::vector<int> rates{15, 30, 60};
    return rates;
}

QString TestSceneFormatText(const TestSceneFormat& format)
{
    return QStringLiteral("%1x%2@%3")
        .arg(format.Size.width())
        .arg(format.Size.height())
        .arg(format.FramesPerSecond);
}

TestSceneFormat ParseTestSceneFormat(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,5})x(\\d{1,5})@(\\d{1,3})$"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return {};
    const TestSceneFormat format{{match.captured(1).toInt(), match.captured(2).toInt()},
                                 match.captured(3).toInt()};
    const auto& sizes = TestSceneSizes();
    const auto& rates = TestSceneRates();
    if (std::find(sizes.begin(), sizes.end(), format.Size) == sizes.end() ||
        std::find(rates.begin(), rates.end(), format.FramesPerSecond) == rates.end())
        return {};
    return format;
}

#pragma once

#include <QSize>
#include <QString>
#include <vector>

// A picture size and frame rate of the built-in test scene.
struct TestSceneFormat
{
    QSize Size{640, 480};
    int FramesPerSecond = 30;

    friend bool operator==(const TestSceneFormat&, const TestSceneFormat&) = default;
};

// The capture setting that keeps the chosen format across runs, and its text: width "x" height "@"
// frames a second, for example "640x480@30".
inline const QString TestSceneFormatKey = QStringLiteral("scene/format");

// The sizes and rates the format dialog offers, smallest first.
const std::vector<QSize>& TestSceneSizes();
const std::vector<int>& TestSceneRates();

QString TestSceneFormatText(const TestSceneFormat& format);

// The stored format when text names an offered size and rate; 640x480 at 30 frames a second for any
// other text (missing, garbled, or a size or rate the scene does not offer).
TestSceneFormat ParseTestSceneFormat(const QString& text);

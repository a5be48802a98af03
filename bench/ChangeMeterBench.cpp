// Measures what drawing the change meter costs: the meter at the size it has beside the slider of a
// 640 x 480 live view is shown on the current platform and repainted once per compared frame, with a
// detection every 30 frames. Prints the time per frame and the share of one core at 30 frames a second
// (the goal is under 2 %). Run it under a display server to include handing the pixels to it.

#include "ui/ChangeMeter.h"

#include <QApplication>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace
{
double CpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ChangeMeter meter(5.0);
    meter.resize(14, 420);
    meter.show();
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents();

    constexpr int Frames = 3000;
    double best = 1e9;
    for (int round = 0; round < 5; ++round)
    {
        const double start = CpuSeconds();
        for (int frame = 0; frame < Frames; ++frame)
        {
            const double change = 2.5 + 2.5 * std::sin(frame * 0.05);
            meter.ShowChange(change, 2.0, frame % 30 == 0);
            meter.repaint();
        }
        best = std::min(best, (CpuSeconds() - start) / Frames);
    }
    std::printf("platform %s, meter %dx%d\n", qPrintable(QApplication::platformName()), meter.width(),
                meter.height());
    std::printf("drawing one frame: %.1f us of processor time; at 30 fps: %.3f %% of a core\n", best * 1e6,
                best * 30 * 100);
    return 0;
}

#include "app/LiveViewPlacement.h"

#include "app/WindowScreens.h"
#include "app/frmVantuUi.h"
#include "capture/driver/CaptureConfig.h"
#include "capture/modAVICAP.h"
#include "capture/window/CaptureWindow.h"
#include "ui/Twips.h"

#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QScreen>
#include <QStringList>
#include <cmath>

namespace
{
constexpr char WindowPositionKey[] = "window/position";

QSize VideoSize(CaptureWindow* lwnd)
{
    CAPSTATUS status{};
    capGetStatus(lwnd, &status, sizeof status);
    return {static_cast<int>(status.uiImageWidth), static_cast<int>(status.uiImageHeight)};
}
} // namespace

void LiveViewPlacement::FitToVideo(CaptureWindow* lwnd)
{
    const QSize video = VideoSize(lwnd);
    const QSize decoration = window_.frameGeometry().size() - window_.size();
    const QSize area = window_.screen() != nullptr ? window_.screen()->availableGeometry().size() : video;
    const QSize fitted =
        FitVideoToArea(video, area, [&](QSize shown) { return WindowSizeFor(shown) + decoration; });
    const QSize shown = fitted.isEmpty() ? video : fitted;
    if (lwnd != nullptr)
        lwnd->resize(shown);

    const CaptureLayout layout = ApplyLayout(shown);
    window_.resize(TwipsToPixels(layout.WindowWidthTwips) + TuningColumnWidth(ui_), window_.height());
    window_.resize(window_.width(), TwipsToPixels(layout.WindowHeightTwips));
}

void LiveViewPlacement::FitToWindow(CaptureWindow* lwnd)
{
    if (lwnd == nullptr || !lwnd->Scaling() || ui_.Frame1->isHidden())
        return;
    const QSize shown =
        FitVideoToArea(VideoSize(lwnd), window_.size(), [this](QSize size) { return WindowSizeFor(size); });
    if (shown.isEmpty() || shown == lwnd->size())
        return;
    lwnd->resize(shown);
    ApplyLayout(shown);
}

CaptureLayout LiveViewPlacement::ApplyLayout(QSize shown)
{
    const CaptureLayout layout =
        LayoutForVideo(static_cast<std::uint32_t>(shown.width()), static_cast<std::uint32_t>(shown.height()),
                       static_cast<float>(ui_.Frame1->x()), static_cast<float>(ui_.Frame1->y()));
    ui_.Frame1->resize(static_cast<int>(std::lround(layout.FrameWidth)),
                       static_cast<int>(std::lround(layout.FrameHeight)));
    ui_.imgStatus->resize(ui_.imgStatus->width(), static_cast<int>(std::lround(layout.StatusPictureHeight)));
    ui_.DrawStatusPictures();
    return layout;
}

QSize LiveViewPlacement::WindowSizeFor(QSize shown) const
{
    const CaptureLayout layout =
        LayoutForVideo(static_cast<std::uint32_t>(shown.width()), static_cast<std::uint32_t>(shown.height()),
                       static_cast<float>(ui_.Frame1->x()), static_cast<float>(ui_.Frame1->y()));
    return {TwipsToPixels(layout.WindowWidthTwips) + TuningColumnWidth(ui_),
            TwipsToPixels(layout.WindowHeightTwips)};
}

void LiveViewPlacement::RestorePosition()
{
    const std::vector<int> saved = KeptNumbers(QString::fromLatin1(WindowPositionKey), 2);
    if (saved.empty() || window_.screen() == nullptr)
        return;
    window_.move(PlaceOnScreen(QPoint(saved[0], saved[1]), window_.frameGeometry().size(),
                               window_.screen()->availableGeometry()));
}

bool LiveViewPlacement::SavePosition(QString* error)
{
    CaptureConfig* config = InstalledCaptureConfig();
    return config == nullptr || !window_.isVisible() ||
           config->SetValue(QString::fromLatin1(WindowPositionKey),
                            QStringLiteral("%1,%2").arg(window_.x()).arg(window_.y()), error);
}

std::vector<int> KeptNumbers(const QString& key, std::size_t count)
{
    const CaptureConfig* config = InstalledCaptureConfig();
    if (config == nullptr)
        return {};
    const QStringList parts = config->Value(key).split(QChar(','));
    if (parts.size() != static_cast<qsizetype>(count))
        return {};
    std::vector<int> numbers;
    for (const QString& part : parts)
    {
        bool read = false;
        numbers.push_back(part.toInt(&read));
        if (!read)
            return {};
    }
    return numbers;
}

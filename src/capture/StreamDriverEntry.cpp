#include "capture/StreamDriverEntry.h"

#include "capture/CaptureConfig.h"
#include "capture/StreamDriver.h"
#include "capture/StreamInput.h"
#include "capture/StreamLocation.h"
#include "capture/StreamSourceDialog.h"

#include <QMessageBox>

extern "C"
{
#include <libavutil/avutil.h>
}

CaptureDriverEntry StreamDriverEntry(CaptureConfig& config)
{
    const StreamSettings settings = LoadStreamSettings(config);
    return {StreamDriverName(settings.Location), QString::fromUtf8(av_version_info()),
            [&config] { return std::make_unique<StreamDriver>(config); }};
}

bool StreamLocationSet(const CaptureConfig& config)
{
    return !LoadStreamSettings(config).Location.isEmpty();
}

bool EditStreamSource(CaptureConfig& config, QWidget* parent)
{
    const StreamSettings current = LoadStreamSettings(config);
    const std::atomic<bool> never{false};
    const auto check = [&never](const StreamSettings& chosen, QString* error)
    { return StreamInput::Open(chosen, never, error) != nullptr; };
    StreamSourceDialog dialog(current, check, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    StreamSettings chosen = dialog.Chosen();
    if (chosen.Location != current.Location || chosen.Transport != current.Transport)
        chosen.Size = QSize();
    QString error;
    if (!SaveStreamSettings(config, chosen, &error))
    {
        QMessageBox::warning(parent, QStringLiteral("Network Camera or Video File"),
                             QStringLiteral("Vantu could not save the video source: ") + error);
        return false;
    }
    return true;
}

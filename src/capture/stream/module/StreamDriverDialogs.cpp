#include "capture/stream/module/StreamDriverDialogs.h"

#include "capture/stream/StreamFormatDialog.h"
#include "capture/stream/StreamLocation.h"
#include "capture/stream/StreamSourceDialog.h"
#include "capture/stream/module/StreamDriver.h"
#include "ui/MessageBox.h"

#include <QFileInfo>

namespace
{
void ReportUnsaved(IMessageBox& messages, const QString& error)
{
    messages.Show(error, MsgBoxStyle::Exclamation, QStringLiteral("Network Camera or Video File"));
}
} // namespace

void ShowStreamSourceDialog(StreamDriver& driver, QWidget* parent, IMessageBox& messages)
{
    // A network camera is not tried here: reaching it may take long, so the driver tries it on its own
    // thread and tells the outcome over the live view. A local file is checked at once.
    const auto check = [](const StreamSettings& chosen, QString* error)
    {
        if (IsNetworkStreamLocation(chosen.Location) || chosen.Location.startsWith(QLatin1String("file:")))
            return true;
        const QFileInfo file(chosen.Location);
        if (file.isFile() && file.isReadable())
            return true;
        *error = QStringLiteral("There is no video file %1 that Vantu can read.").arg(chosen.Location);
        return false;
    };
    StreamSourceDialog dialog(driver.Settings(), check, parent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QString error;
    if (!driver.ApplySource(dialog.Chosen(), &error))
        ReportUnsaved(messages, error);
}

void ShowStreamFormatDialog(StreamDriver& driver, QWidget* parent, IMessageBox& messages)
{
    StreamFormatDialog dialog(driver.Info(), driver.ChosenSize(), parent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QString error;
    if (!driver.ApplySize(dialog.ChosenSize(), &error))
        ReportUnsaved(messages, error);
}

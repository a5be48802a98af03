#include "capture/stream/module/StreamDriverDialogs.h"

#include "capture/stream/StreamFormatDialog.h"
#include "capture/stream/StreamSourceDialog.h"
#include "capture/stream/module/StreamDriver.h"
#include "ui/MessageBox.h"

namespace
{
void ReportUnsaved(IMessageBox& messages, const QString& error)
{
    messages.Show(error, MsgBoxStyle::Exclamation, QStringLiteral("Network Camera or Video File"));
}
} // namespace

void ShowStreamSourceDialog(StreamDriver& driver, QWidget* parent, IMessageBox& messages)
{
    const StreamSettings current = driver.Settings();
    const bool running = driver.FrameSize().isValid();
    // The source the dialog tried last, taken over when the dialog is accepted with it.
    std::unique_ptr<StreamInput> opened;
    const auto check = [&](const StreamSettings& chosen, QString* error)
    {
        if (running && chosen.Location == current.Location && chosen.Transport == current.Transport)
            return true;
        opened = driver.OpenSource(chosen, error);
        return opened != nullptr;
    };
    StreamSourceDialog dialog(current, check, parent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QString error;
    if (!driver.ApplySource(dialog.Chosen(), std::move(opened), &error))
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

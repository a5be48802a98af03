#include "app/FineTuningTools.h"

#include "app/MaskOverlay.h"
#include "app/WindowScreens.h"
#include "app/frmVantuUi.h"
#include "capture/window/CaptureWindow.h"
#include "common/Options.h"
#include "monitor/MonitorSession.h"
#include "ui/Notice.h"

#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

FineTuningTools::FineTuningTools(Links links, QObject* parent) : QObject(parent), links_(std::move(links))
{
    frmVantuUi& ui = links_.Ui;
    QWidget* body = ui.framSens->parentWidget();
    ui.lblMaskHint = new QLabel(QStringLiteral("Drag on the picture to cover what is not to be watched; "
                                               "drag with the right button to uncover it."),
                                body);
    ui.lblMaskHint->setObjectName(QStringLiteral("lblMaskHint"));
    ui.lblMaskHint->setWordWrap(true);
    ui.chkShowChanges = new QCheckBox(QStringLiteral("Show changes"), body);
    ui.chkShowChanges->setObjectName(QStringLiteral("chkShowChanges"));
    ui.chkShowChanges->setToolTip(
        QStringLiteral("Tints what the moving pixels method finds changed (choose it on the Detection tab of "
                       "Preferences)"));
    ui.cmdClearMask = new QPushButton(QStringLiteral("Clear Mask"), body);
    ui.cmdClearMask->setObjectName(QStringLiteral("cmdClearMask"));
    for (QWidget* control : MaskControls(ui))
        control->hide();

    ui.framSens->installEventFilter(this);
    connect(ui.cmdClearMask, &QPushButton::clicked, this, &FineTuningTools::cmdClearMask_Click);
    connect(ui.chkShowChanges, &QCheckBox::toggled, this,
            [this](bool on)
            {
                if (overlay_ != nullptr)
                    overlay_->SetShowChanges(on);
            });
    connect(&links_.Session, &MonitorSession::ChangeMeasured, this,
            [this]
            {
                if (overlay_ != nullptr && links_.Options.Method == DetectMethod::Pixels)
                    overlay_->FrameCompared();
            });
}

bool FineTuningTools::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == links_.Ui.framSens &&
        (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent))
    {
        AttachOverlay();
        links_.Ui.chkShowChanges->setEnabled(links_.Options.Method == DetectMethod::Pixels);
        if (overlay_ != nullptr)
            overlay_->SetPainting(event->type() == QEvent::ShowToParent);
    }
    return QObject::eventFilter(watched, event);
}

void FineTuningTools::AttachOverlay()
{
    if (overlay_ != nullptr)
        return;
    auto* view = links_.Ui.Frame1->findChild<CaptureWindow*>();
    if (view == nullptr)
        return;
    overlay_ = new MaskOverlay(*view, links_.Session.Mask(), links_.Session.Pixels());
    overlay_->SetShowChanges(links_.Ui.chkShowChanges->isChecked());
    connect(overlay_, &MaskOverlay::MaskPainted, this, &FineTuningTools::SaveMask);
}

void FineTuningTools::SaveMask()
{
    QString error;
    if (!links_.Session.Mask().Save(links_.MaskFile, &error))
    {
        links_.Notices.ShowText(QStringLiteral("The mask could not be saved to %1: %2")
                                    .arg(QDir::toNativeSeparators(links_.MaskFile), error));
        return;
    }
    if (links_.Options.MaskPath == links_.MaskFile)
        return;
    links_.Options.MaskPath = links_.MaskFile;
    links_.SaveOptions();
}

void FineTuningTools::cmdClearMask_Click()
{
    links_.Session.Mask().Clear();
    if (overlay_ != nullptr)
        overlay_->update();
    if (links_.Options.MaskPath.isEmpty())
        return;
    links_.Options.MaskPath.clear();
    links_.SaveOptions();
}

#include "capture/window/VideoDisplayDialog.h"

#include "ui/OkCancelLayout.h"

#include <QCheckBox>

VideoDisplayDialog::VideoDisplayDialog(bool scaleToWindow, bool keepAspectRatio, QWidget* parent)
    : QDialog(parent), chkScale_(new QCheckBox(QStringLiteral("&Scale the picture to the live view"), this)),
      chkAspect_(new QCheckBox(QStringLiteral("&Keep the picture's proportions when scaling"), this))
{
    setWindowTitle(QStringLiteral("Video Display"));
    chkScale_->setObjectName(QStringLiteral("chkScale"));
    chkAspect_->setObjectName(QStringLiteral("chkAspect"));
    chkScale_->setChecked(scaleToWindow);
    chkAspect_->setChecked(keepAspectRatio);
    chkAspect_->setEnabled(scaleToWindow);
    connect(chkScale_, &QCheckBox::toggled, chkAspect_, &QCheckBox::setEnabled);
    LayOutWithOkCancel(*this, {chkScale_, chkAspect_});
}

bool VideoDisplayDialog::ScaleToWindow() const
{
    return chkScale_->isChecked();
}
bool VideoDisplayDialog::KeepAspectRatio() const
{
    return chkAspect_->isChecked();
}

#include "capture/scene/TestSceneFormatDialog.h"

#include "capture/scene/TestSceneDriver.h"
#include "ui/MessageBox.h"
#include "ui/OkCancelLayout.h"

#include <QComboBox>
#include <QFormLayout>

TestSceneFormatDialog::TestSceneFormatDialog(const TestSceneFormat& current, QWidget* parent)
    : QDialog(parent), cmboSize_(new QComboBox(this)), cmboRate_(new QComboBox(this))
{
    setWindowTitle(QStringLiteral("Test Scene Format"));
    cmboSize_->setObjectName(QStringLiteral("cmboSize"));
    cmboRate_->setObjectName(QStringLiteral("cmboRate"));
    for (const QSize& size : TestSceneSizes())
        cmboSize_->addItem(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height()), size);
    for (int rate : TestSceneRates())
        cmboRate_->addItem(QStringLiteral("%1 frames a second").arg(rate), rate);
    const TestSceneFormat fallback;
    const int size = cmboSize_->findData(current.Size);
    const int rate = cmboRate_->findData(current.FramesPerSecond);
    cmboSize_->setCurrentIndex(size >= 0 ? size : cmboSize_->findData(fallback.Size));
    cmboRate_->setCurrentIndex(rate >= 0 ? rate : cmboRate_->findData(fallback.FramesPerSecond));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Picture &size:"), cmboSize_);
    form->addRow(QStringLiteral("Frame &rate:"), cmboRate_);
    LayOutWithOkCancel(*this, {form});
}

TestSceneFormat TestSceneFormatDialog::Chosen() const
{
    return {cmboSize_->currentData().toSize(), cmboRate_->currentData().toInt()};
}

void ShowTestSceneFormatDialog(TestSceneDriver& driver, QWidget* parent, IMessageBox& messages)
{
    TestSceneFormatDialog dialog(driver.Format(), parent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QString error;
    if (!driver.ApplyFormat(dialog.Chosen(), &error))
        messages.Show(error, MsgBoxStyle::Exclamation, QStringLiteral("Test Scene Format"));
}

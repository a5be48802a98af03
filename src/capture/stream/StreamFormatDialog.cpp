#include "capture/stream/StreamFormatDialog.h"

#include "capture/stream/StreamSizes.h"
#include "ui/OkCancelLayout.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>

namespace
{
QString SizeText(QSize size)
{
    return QStringLiteral("%1 x %2").arg(size.width()).arg(size.height());
}
} // namespace

QString DescribeStreamSource(const StreamInfo& info)
{
    QString text =
        (info.Codec.isEmpty() ? QStringLiteral("Unknown") : info.Codec) + QStringLiteral(" video, ");
    text += info.Size.isEmpty() ? QStringLiteral("size not known yet")
                                : SizeText(info.Size) + QStringLiteral(" pixels");
    if (info.FramesPerSecond > 0)
        text += QStringLiteral(", ") + QString::number(info.FramesPerSecond, 'g', 4) +
                QStringLiteral(" frames per second");
    else
        text += QStringLiteral(", frame rate not given");
    return text;
}

StreamFormatDialog::StreamFormatDialog(const StreamInfo& info, QSize chosen, QWidget* parent)
    : QDialog(parent), lblSource_(new QLabel(this)), cmboSize_(new QComboBox(this))
{
    setWindowTitle(QStringLiteral("Video Format"));
    lblSource_->setObjectName(QStringLiteral("lblSource"));
    cmboSize_->setObjectName(QStringLiteral("cmboSize"));
    lblSource_->setTextFormat(Qt::PlainText);
    lblSource_->setWordWrap(true);
    lblSource_->setText(QStringLiteral("The source offers: ") + DescribeStreamSource(info) + QChar('.'));

    // The first entry keeps the source's own size (stored as an empty size), the others scale to theirs.
    const std::vector<QSize> sizes = StreamSizeChoices(info.Size);
    cmboSize_->addItem(info.Size.isEmpty() ? QStringLiteral("The source's own size")
                                           : SizeText(info.Size) + QStringLiteral(" (the source's own size)"),
                       QSize());
    for (std::size_t i = 1; i < sizes.size(); ++i)
        cmboSize_->addItem(SizeText(sizes[i]), sizes[i]);
    if (!chosen.isEmpty())
    {
        int index = cmboSize_->findData(chosen);
        if (index < 0)
        {
            cmboSize_->addItem(SizeText(chosen), chosen);
            index = cmboSize_->count() - 1;
        }
        cmboSize_->setCurrentIndex(index);
    }

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Frame &size:"), cmboSize_);
    LayOutWithOkCancel(*this, {lblSource_, form});
}

QSize StreamFormatDialog::ChosenSize() const
{
    return cmboSize_->currentData().toSize();
}

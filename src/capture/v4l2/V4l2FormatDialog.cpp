#include "capture/v4l2/V4l2FormatDialog.h"

#include "capture/v4l2/V4l2Driver.h"
#include "capture/v4l2/V4l2Text.h"
#include "ui/MessageBox.h"
#include "ui/OkCancelLayout.h"

#include <QComboBox>
#include <QFormLayout>
#include <cstdlib>

V4l2FormatDialog::V4l2FormatDialog(std::vector<V4l2PixelFormat> formats, const V4l2FormatChoice& current,
                                   QWidget* parent)
    : QDialog(parent), formats_(std::move(formats)), cmboPixelFormat_(new QComboBox(this)),
      cmboSize_(new QComboBox(this)), cmboRate_(new QComboBox(this))
{
    setWindowTitle(Title());
    cmboPixelFormat_->setObjectName(QStringLiteral("cmboPixelFormat"));
    cmboSize_->setObjectName(QStringLiteral("cmboSize"));
    cmboRate_->setObjectName(QStringLiteral("cmboRate"));

    for (const V4l2PixelFormat& format : formats_)
    {
        const QString code = FourCcText(format.FourCc);
        cmboPixelFormat_->addItem(
            format.Description.isEmpty() ? code : QStringLiteral("%1 (%2)").arg(format.Description, code));
        if (format.FourCc == current.FourCc)
            cmboPixelFormat_->setCurrentIndex(cmboPixelFormat_->count() - 1);
    }
    FillSizes(current.Width, current.Height);
    FillRates(current.Interval);

    connect(cmboPixelFormat_, &QComboBox::currentIndexChanged, this,
            [this]
            {
                const V4l2FormatChoice before = Choice();
                FillSizes(before.Width, before.Height);
                FillRates(before.Interval);
            });
    connect(cmboSize_, &QComboBox::currentIndexChanged, this, [this] { FillRates(Choice().Interval); });

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("&Picture format:"), cmboPixelFormat_);
    fields->addRow(QStringLiteral("&Frame size:"), cmboSize_);
    fields->addRow(QStringLiteral("Frame &rate:"), cmboRate_);
    LayOutWithOkCancel(*this, {fields});
}

const V4l2PixelFormat* V4l2FormatDialog::SelectedFormat() const
{
    const int row = cmboPixelFormat_->currentIndex();
    return row >= 0 && static_cast<std::size_t>(row) < formats_.size() ? &formats_[row] : nullptr;
}

const V4l2FrameSize* V4l2FormatDialog::SelectedSize() const
{
    const V4l2PixelFormat* format = SelectedFormat();
    const int row = cmboSize_->currentIndex();
    return format != nullptr && row >= 0 && static_cast<std::size_t>(row) < format->Sizes.size()
               ? &format->Sizes[row]
               : nullptr;
}

void V4l2FormatDialog::FillSizes(int width, int height)
{
    const QSignalBlocker block(cmboSize_);
    cmboSize_->clear();
    const V4l2PixelFormat* format = SelectedFormat();
    if (format == nullptr)
        return;
    int closest = 0;
    long long closestDistance = -1;
    for (const V4l2FrameSize& size : format->Sizes)
    {
        cmboSize_->addItem(QStringLiteral("%1 x %2").arg(size.Width).arg(size.Height));
        const long long distance = std::llabs(static_cast<long long>(size.Width) * size.Height -
                                              static_cast<long long>(width) * height);
        if (closestDistance < 0 || distance < closestDistance)
        {
            closest = cmboSize_->count() - 1;
            closestDistance = distance;
        }
    }
    cmboSize_->setCurrentIndex(closest);
}

void V4l2FormatDialog::FillRates(const V4l2Interval& keep)
{
    cmboRate_->clear();
    const V4l2FrameSize* size = SelectedSize();
    if (size == nullptr)
        return;
    if (size->Intervals.empty())
        cmboRate_->addItem(RateText({}));
    for (const V4l2Interval& interval : size->Intervals)
    {
        cmboRate_->addItem(RateText(interval));
        if (interval == keep)
            cmboRate_->setCurrentIndex(cmboRate_->count() - 1);
    }
}

V4l2FormatChoice V4l2FormatDialog::Choice() const
{
    V4l2FormatChoice choice;
    const V4l2PixelFormat* format = SelectedFormat();
    const V4l2FrameSize* size = SelectedSize();
    if (format == nullptr || size == nullptr)
        return choice;
    choice.FourCc = format->FourCc;
    choice.Width = size->Width;
    choice.Height = size->Height;
    const int row = cmboRate_->currentIndex();
    if (row >= 0 && static_cast<std::size_t>(row) < size->Intervals.size())
        choice.Interval = size->Intervals[row];
    return choice;
}

QString V4l2FormatDialog::RateText(const V4l2Interval& interval)
{
    if (!interval.Valid())
        return QStringLiteral("The camera's own rate");
    return QStringLiteral("%1 frames per second").arg(QString::number(interval.FramesPerSecond(), 'g', 4));
}

void ShowV4l2FormatDialog(V4l2Driver& driver, QWidget* parent, IMessageBox& messages)
{
    if (driver.Formats().empty())
    {
        messages.Show(
            QStringLiteral("The camera \"%1\" has not reported its formats: it could not be started.")
                .arg(driver.Device().Card),
            MsgBoxStyle::Information, V4l2FormatDialog::Title());
        return;
    }
    V4l2FormatDialog dialog(driver.Formats(), driver.Format(), parent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QString error;
    if (!driver.ApplyFormat(dialog.Choice(), &error))
        messages.Show(error, MsgBoxStyle::Exclamation, V4l2FormatDialog::Title());
}

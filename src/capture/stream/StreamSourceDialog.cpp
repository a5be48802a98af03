#include "capture/stream/StreamSourceDialog.h"

#include "capture/stream/StreamLocation.h"
#include "ui/OkCancelLayout.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace
{
QString PickVideoFile(QWidget* parent, const QString& folder)
{
    return QFileDialog::getOpenFileName(
        parent, QStringLiteral("Choose a Video File"), folder,
        QStringLiteral("Video files (*.avi *.mkv *.mp4 *.m4v *.mov *.webm *.mpg "
                       "*.mpeg *.ts *.mjpg *.mjpeg *.wmv *.flv);;All files (*)"));
}
} // namespace

StreamSourceDialog::StreamSourceDialog(const StreamSettings& current, StreamSourceCheck check,
                                       QWidget* parent)
    : QDialog(parent), current_(current), check_(std::move(check)), picker_(&PickVideoFile),
      txtLocation_(new QLineEdit(current.Location, this)),
      cmdBrowse_(new QPushButton(QStringLiteral("Browse..."), this)), cmboTransport_(new QComboBox(this)),
      lblMessage_(new QLabel(this))
{
    setWindowTitle(QStringLiteral("Network Camera or Video File"));
    txtLocation_->setObjectName(QStringLiteral("txtLocation"));
    cmdBrowse_->setObjectName(QStringLiteral("cmdBrowse"));
    cmboTransport_->setObjectName(QStringLiteral("cmboTransport"));
    lblMessage_->setObjectName(QStringLiteral("lblMessage"));

    txtLocation_->setPlaceholderText(
        QStringLiteral("rtsp://camera/stream, http://camera/video.mjpg or a video file"));
    txtLocation_->setMinimumWidth(360);
    cmboTransport_->addItem(QStringLiteral("TCP"), static_cast<int>(StreamTransport::Tcp));
    cmboTransport_->addItem(QStringLiteral("UDP"), static_cast<int>(StreamTransport::Udp));
    cmboTransport_->setCurrentIndex(current.Transport == StreamTransport::Udp ? 1 : 0);
    lblMessage_->setWordWrap(true);
    lblMessage_->setTextFormat(Qt::PlainText);
    lblMessage_->setStyleSheet(QStringLiteral("color: #b00000"));
    lblMessage_->hide();
    connect(cmdBrowse_, &QPushButton::clicked, this, &StreamSourceDialog::Browse);

    auto* locationRow = new QHBoxLayout;
    locationRow->addWidget(txtLocation_, 1);
    locationRow->addWidget(cmdBrowse_);
    auto* form = new QFormLayout;
    auto* lblLocation = new QLabel(QStringLiteral("&Location:"), this);
    lblLocation->setBuddy(txtLocation_);
    form->addRow(lblLocation, locationRow);
    form->addRow(QStringLiteral("RTSP &transport:"), cmboTransport_);
    LayOutWithOkCancel(*this, {form, lblMessage_});
}

StreamSettings StreamSourceDialog::Chosen() const
{
    StreamSettings chosen = current_;
    chosen.Location = txtLocation_->text().trimmed();
    chosen.Transport = static_cast<StreamTransport>(cmboTransport_->currentData().toInt());
    return chosen;
}

QString StreamSourceDialog::Message() const
{
    return lblMessage_->isHidden() ? QString() : lblMessage_->text();
}

void StreamSourceDialog::accept()
{
    const StreamSettings chosen = Chosen();
    QString error;
    // An empty location is accepted: it clears the source.
    if (!chosen.Location.isEmpty() && check_)
    {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        if (check_(chosen, &error))
            error.clear();
        else if (error.isEmpty())
            error =
                QStringLiteral("Vantu could not open ") + RedactStreamLocation(chosen.Location) + QChar('.');
        QGuiApplication::restoreOverrideCursor();
    }
    if (!error.isEmpty())
    {
        lblMessage_->setText(error);
        lblMessage_->show();
        txtLocation_->setFocus();
        return;
    }
    lblMessage_->hide();
    QDialog::accept();
}

void StreamSourceDialog::Browse()
{
    const QString location = txtLocation_->text().trimmed();
    QString folder = QDir::homePath();
    if (!location.isEmpty() && !IsNetworkStreamLocation(location))
    {
        const QFileInfo file(location);
        if (file.dir().exists())
            folder = file.dir().absolutePath();
    }
    const QString picked = picker_ ? picker_(this, folder) : QString();
    if (!picked.isEmpty())
        txtLocation_->setText(QDir::toNativeSeparators(picked));
}

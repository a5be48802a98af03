#include "app/frmAbout.h"

#include "ui/Pictures.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>

frmAbout::frmAbout(const QString& appDirectory, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Vantu Version 1.0"));

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picIcon"));
    picture->setPixmap(ProgramPicture(QStringLiteral("vantu"), QSize(96, 96)));

    auto* title = new QLabel(QStringLiteral("Vantu"), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 2);
    big.setBold(true);
    title->setFont(big);

    auto* version = new QLabel(QStringLiteral("Version 1.0"), this);
    version->setObjectName(QStringLiteral("lblVersion"));

    auto* description =
        new QLabel(QStringLiteral("Watches a room through a camera. When the picture changes, "
                                  "Vantu saves the frame, logs it, plays a sound and "
                                  "e-mails the picture."),
                   this);
    description->setObjectName(QStringLiteral("lblDescription"));
    description->setWordWrap(true);

    auto* folder =
        new QLabel(QStringLiteral("Settings, log and pictures are kept in\n%1").arg(appDirectory), this);
    folder->setObjectName(QStringLiteral("lblFolder"));
    folder->setWordWrap(true);
    folder->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(picture, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(title, 0, 1);
    layout->addWidget(version, 1, 1);
    layout->addWidget(description, 2, 1);
    layout->addWidget(folder, 3, 1);
    layout->addWidget(buttons, 4, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    setMinimumWidth(380);
}

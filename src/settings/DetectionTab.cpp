#include "settings/DetectionTab.h"

#include "common/Options.h"
#include "common/SettingsRecord.h"
#include "settings/FolderTree.h"
#include "settings/PreferencesLinks.h"
#include "settings/TextRules.h"
#include "settings/UpDown.h"
#include "settings/Volumes.h"
#include "settings/WholeNumberBox.h"
#include "store/DetectionStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

DetectionTab::DetectionTab(PreferencesLinks& links, QWidget* parent) : QWidget(parent), links_(links)
{
    framImages = NamedWidget(new QGroupBox(QStringLiteral("Image Files"), this), "framImages");
    chkSaveImage =
        NamedWidget(new QCheckBox(QStringLiteral("Save Image Files?"), framImages), "chkSaveImage");
    lblMaxFiles = new QLabel(QStringLiteral("Max No."), framImages);
    txtMaxFiles = NamedWidget(new QLineEdit(framImages), "txtMaxFiles");
    txtMaxFiles->setMaximumWidth(70);
    UpDown1 = NamedWidget(new UpDown(txtMaxFiles, framImages), "UpDown1");
    lblImageDirectory = new QLabel(QStringLiteral("Image File Directory"), framImages);
    txtImageDirectory = NamedWidget(new QLineEdit(framImages), "txtImageDirectory");
    Drive1 = NamedWidget(new QComboBox(framImages), "Drive1");
    Dir1 = NamedWidget(new FolderTree(framImages), "Dir1");
    lblMaxFiles->setBuddy(txtMaxFiles);
    lblImageDirectory->setBuddy(txtImageDirectory);

    auto* count = new QHBoxLayout;
    count->addWidget(chkSaveImage);
    count->addStretch();
    count->addWidget(lblMaxFiles);
    count->addWidget(txtMaxFiles);
    count->addWidget(UpDown1);
    auto* layout = new QVBoxLayout(framImages);
    layout->addLayout(count);
    layout->addWidget(lblImageDirectory);
    layout->addWidget(txtImageDirectory);
    layout->addWidget(Drive1);
    layout->addWidget(Dir1, 1);
    framMethod = NamedWidget(new QGroupBox(QStringLiteral("Detection Method"), this), "framMethod");
    cmboMethod = NamedWidget(new QComboBox(framMethod), "cmboMethod");
    cmboMethod->addItem(QStringLiteral("Sum of the picture (classic)"), static_cast<int>(DetectMethod::Sum));
    cmboMethod->addItem(QStringLiteral("Moving pixels"), static_cast<int>(DetectMethod::Pixels));
    cmboMethod->setToolTip(QStringLiteral("Moving pixels compares each frame with a learned picture of the "
                                          "scene and ignores changes of the light"));
    lblMask = new QLabel(QStringLiteral("Mask (its dark parts are not watched)"), framMethod);
    txtMask = NamedWidget(new QLineEdit(framMethod), "txtMask");
    txtMask->setReadOnly(true);
    txtMask->setPlaceholderText(QStringLiteral("None: the whole picture is watched"));
    cmdMask = NamedWidget(new QPushButton(QStringLiteral("Choose..."), framMethod), "cmdMask");
    cmdNoMask = NamedWidget(new QPushButton(QStringLiteral("None"), framMethod), "cmdNoMask");
    lblMask->setBuddy(cmdMask);
    ShowOptions();
    auto* mask = new QHBoxLayout;
    mask->addWidget(txtMask, 1);
    mask->addWidget(cmdMask);
    mask->addWidget(cmdNoMask);
    auto* methodLayout = new QVBoxLayout(framMethod);
    methodLayout->addWidget(cmboMethod);
    methodLayout->addWidget(lblMask);
    methodLayout->addLayout(mask);

    auto* tabLayout = new QVBoxLayout(this);
    tabLayout->addWidget(framImages);
    tabLayout->addWidget(framMethod);

    connect(chkSaveImage, &QCheckBox::toggled, this, &DetectionTab::chkSaveImage_Click);
    connect(txtMaxFiles, &QLineEdit::textChanged, this, &DetectionTab::txtMaxFiles_Change);
    connect(txtMaxFiles, &QLineEdit::editingFinished, this,
            [this] { RestoreWholeNumber(txtMaxFiles, links_.Settings.MaxFiles); });
    connect(txtImageDirectory, &QLineEdit::textChanged, this, &DetectionTab::txtImageDirectory_Change);
    connect(Dir1, &FolderTree::Picked, this, &DetectionTab::Dir1_Change);
    connect(Drive1, &QComboBox::currentIndexChanged, this, &DetectionTab::Drive1_Change);
    connect(cmboMethod, &QComboBox::currentIndexChanged, this, &DetectionTab::cmboMethod_Click);
    connect(cmdMask, &QPushButton::clicked, this, &DetectionTab::cmdMask_Click);
    connect(cmdNoMask, &QPushButton::clicked, this, &DetectionTab::cmdNoMask_Click);
}

void DetectionTab::cmboMethod_Click()
{
    links_.Options.Method = static_cast<DetectMethod>(cmboMethod->currentData().toInt());
    links_.SaveOptions();
}

void DetectionTab::cmdMask_Click()
{
    const QString folder = links_.Options.MaskPath.isEmpty()
                               ? links_.AppDirectory
                               : QFileInfo(links_.Options.MaskPath).absolutePath();
    const QString name =
        links_.PickFile(this, folder, QStringLiteral("Pictures (*.png *.bmp *.jpg *.jpeg);;All Files (*)"));
    if (name.isEmpty())
        return;
    links_.Options.MaskPath = name;
    links_.SaveOptions();
    ShowMask();
}

void DetectionTab::cmdNoMask_Click()
{
    links_.Options.MaskPath.clear();
    links_.SaveOptions();
    ShowMask();
}

void DetectionTab::ShowOptions()
{
    {
        const QSignalBlocker filling(cmboMethod);
        cmboMethod->setCurrentIndex(cmboMethod->findData(static_cast<int>(links_.Options.Method)));
    }
    ShowMask();
}

void DetectionTab::ShowMask()
{
    txtMask->setText(QDir::toNativeSeparators(links_.Options.MaskPath));
    cmdNoMask->setEnabled(!links_.Options.MaskPath.isEmpty());
}

void DetectionTab::chkSaveImage_Click()
{
    links_.Settings.SaveImage = chkSaveImage->isChecked() ? True : False;
}

void DetectionTab::txtMaxFiles_Change()
{
    ApplyWholeNumber(txtMaxFiles, links_.Settings.MaxFiles);
}

void DetectionTab::txtImageDirectory_Change()
{
    const QString directory = txtImageDirectory->text();
    if (!directory.endsWith(QChar('/')))
    {
        // The caret stays where the user types, before the separator added; setting the text comes
        // back here with it.
        const int caret = txtImageDirectory->cursorPosition();
        txtImageDirectory->setText(directory + QChar('/'));
        txtImageDirectory->setCursorPosition(caret);
        return;
    }
    // A folder that could not be made is shown in red, with the reason, and not kept.
    QString reason;
    const bool usable = FolderCanBeMade(directory, &reason);
    txtImageDirectory->setStyleSheet(usable ? QString() : QStringLiteral("color: #c00000"));
    txtImageDirectory->setToolTip(usable ? QString()
                                         : QStringLiteral("This folder cannot be made: %1").arg(reason));
    if (usable)
        links_.Settings.ImageDirectory = directory;
}

void DetectionTab::Dir1_Change(const QString& path)
{
    txtImageDirectory->setText(path);
}

void DetectionTab::Drive1_Change()
{
    const QString root = Drive1->currentData().toString();
    const QFileInfo info(root);
    if (info.isDir() && info.isReadable())
    {
        Dir1->ShowVolume(root);
        Dir1_Change(root);
        return;
    }
    // A volume that went away or cannot be read: the lists go back to the program's own volume
    // and the image folder stays as it was.
    const QString fallback = AppVolume();
    SelectVolume(fallback);
    Dir1->ShowVolume(fallback);
    if (IsInFolder(QDir::cleanPath(links_.Settings.ImageDirectory), fallback))
        Dir1->ShowFolder(links_.Settings.ImageDirectory);
}

void DetectionTab::ShowImageDirectory()
{
    const QStringList roots = links_.Volumes();
    {
        const QSignalBlocker filling(Drive1);
        Drive1->clear();
        for (const QString& root : roots)
            Drive1->addItem(root, root);
    }
    QString volume = VolumeOf(roots, QDir::cleanPath(links_.Settings.ImageDirectory));
    if (volume.isEmpty())
        volume = AppVolume();
    SelectVolume(volume);
    Dir1->ShowVolume(volume);
    Dir1->ShowFolder(links_.Settings.ImageDirectory);
}

void DetectionTab::SelectVolume(const QString& root)
{
    const QSignalBlocker filling(Drive1);
    Drive1->setCurrentIndex(Drive1->findData(root));
}

QString DetectionTab::AppVolume() const
{
    const QString volume = VolumeOf(links_.Volumes(), links_.AppDirectory);
    return volume.isEmpty() ? QStringLiteral("/") : volume;
}

#include "app/frmVantuUi.h"

#include "detect/Sensitivity.h"
#include "ui/ChangeMeter.h"
#include "ui/Pictures.h"
#include "ui/ScaledPicture.h"
#include "ui/StatusPanels.h"
#include "ui/Twips.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QSlider>
#include <utility>

namespace
{
template <typename T> T* Named(T* object, const char* name)
{
    object->setObjectName(QLatin1String(name));
    return object;
}

QAction* AddItem(QMenu* menu, const char* name, const QString& caption)
{
    return Named(menu->addAction(caption), name);
}

QAction* AddSeparator(QMenu* menu, const char* name)
{
    return Named(menu->addSeparator(), name);
}

QLabel* EndLabel(QWidget* body, const char* name, const QString& text, Qt::Alignment alignment)
{
    auto* label = Named(new QLabel(text, body), name);
    label->setAlignment(Qt::AlignRight | alignment);
    label->setAutoFillBackground(true);
    label->setMargin(1);
    label->hide();
    return label;
}

// The status picture's place at the design size.
const QRect StatusPicturePlace = TwipsRect(30, 270, 2010, 2235);
} // namespace

void frmVantuUi::Setup(QMainWindow* form)
{
    form->setObjectName(QStringLiteral("frmVantu"));
    form->setWindowTitle(QStringLiteral("Vantu Version 1.0"));
    form->setWindowIcon(ProgramIcon());

    auto* body = new QWidget(form);
    body->setObjectName(QStringLiteral("body"));
    form->setCentralWidget(body);

    Line1 = Named(new QFrame(body), "Line1");
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);
    Line1->setGeometry(0, 0, TwipsToPixels(4935), 2);

    Image1 = QCursor(ProgramPicture(QStringLiteral("busy-mail"), QSize(32, 32)), 1, 1);

    imgStatus = Named(new QLabel(body), "imgStatus");
    imgStatus->setScaledContents(true);
    imgStatus->setGeometry(StatusPicturePlace);
    DrawStatusPictures();

    filDetections = Named(new QListWidget(body), "filDetections");
    filDetections->setSelectionMode(QAbstractItemView::ExtendedSelection);
    filDetections->setGeometry(TwipsRect(105, 120, 1875, 2430));
    filDetections->setContextMenuPolicy(Qt::PreventContextMenu);
    filDetections->setTextElideMode(Qt::ElideNone);

    framSens = Named(new QGroupBox(body), "framSens");
    framSens->setGeometry(TwipsRect(1590, 240, 525, 2205));
    framSens->hide();
    sldSens = Named(new QSlider(Qt::Vertical, framSens), "sldSens");
    sldSens->setRange(0, 500);
    sldSens->setSingleStep(1);
    sldSens->setPageStep(10);
    sldSens->setTickInterval(25);
    sldSens->setTickPosition(QSlider::TicksBothSides);
    sldSens->setGeometry(TwipsRect(75, 180, 375, 1950));
    // The slider's top is the largest sensitivity: a change must be larger there to count.
    lblLessSensitive = EndLabel(body, "lblLessSensitive", QStringLiteral("Less sensitive"), Qt::AlignTop);
    lblMoreSensitive = EndLabel(body, "lblMoreSensitive", QStringLiteral("More sensitive"), Qt::AlignBottom);
    picMeter = Named(new ChangeMeter(SensitivityFromSlider(SensitivitySliderMaximum), body), "picMeter");
    picMeter->hide();

    Frame1 = Named(new QGroupBox(QStringLiteral("Live View"), body), "Frame1");
    Frame1->setGeometry(TwipsRect(2175, 105, 2670, 2445));

    picDetection = Named(new ScaledPicture(body), "picDetection");
    picDetection->setGeometry(TwipsRect(2160, 120, 2670, 2160));

    lblDetectionInfo = Named(new QLabel(body), "lblDetectionInfo");
    lblDetectionInfo->setGeometry(TwipsRect(2085, 2340, 2775, 225));

    StatusBar1 = Named(
        new StatusPanels(
            {{QStringLiteral("StatAct"), QStringLiteral("Initializing..."), QStringLiteral("Current Action")},
             {QStringLiteral("StatMode"), QStringLiteral("Preview Mode"), QStringLiteral("Mode")},
             {QStringLiteral("StatDet"), QStringLiteral("Detections: 0"),
              QStringLiteral("Number of Stored Detections")}},
            form),
        "StatusBar1");
    form->setStatusBar(StatusBar1);

    QMenuBar* bar = form->menuBar();
    mnuFile = Named(bar->addMenu(QStringLiteral("&File")), "mnuFile");
    mnuHide = AddItem(mnuFile, "mnuHide", QStringLiteral("&Hide"));
    mnuFiller2 = AddSeparator(mnuFile, "mnuFiller2");
    mnuFileExit = AddItem(mnuFile, "mnuFileExit", QStringLiteral("E&xit"));

    mnuDetection = Named(bar->addMenu(QStringLiteral("&Detections")), "mnuDetection");
    mnuSelectAll = AddItem(mnuDetection, "mnuSelectAll", QStringLiteral("&Select All"));
    mnuDelete = AddItem(mnuDetection, "mnuDelete", QStringLiteral("&Delete"));

    mnuView = Named(bar->addMenu(QStringLiteral("&View")), "mnuView");
    mnuPreview = AddItem(mnuView, "mnuPreview", QStringLiteral("&Preview"));
    mnuMonitor = AddItem(mnuView, "mnuMonitor", QStringLiteral("&Monitor"));
    mnuDetections = AddItem(mnuView, "mnuDetections", QStringLiteral("&Detections"));
    mnuFineTune = AddItem(mnuView, "mnuFineTune", QStringLiteral("&Fine Tuning"));
    mnuLogFile = AddItem(mnuView, "mnuLogFile", QStringLiteral("&Log File"));
    mnufiller1 = AddSeparator(mnuView, "mnufiller1");
    mnuPreferences = AddItem(mnuView, "mnuPreferences", QStringLiteral("P&references"));
    for (QAction* item : {mnuPreview, mnuMonitor, mnuDetections, mnuFineTune})
        item->setCheckable(true);

    mnuHelp = Named(bar->addMenu(QStringLiteral("&Help")), "mnuHelp");
    mnuHelpIndex = AddItem(mnuHelp, "mnuHelpIndex", QStringLiteral("&Index"));
    mnuAbout = AddItem(mnuHelp, "mnuAbout", QStringLiteral("&About"));

    // Common shortcuts, shown beside their items. The actions belong to the window as well, so that
    // they work while their menu is hidden; a disabled item's shortcut does nothing.
    mnuHelpIndex->setShortcut(QKeySequence::HelpContents);
    mnuFileExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    mnuDelete->setShortcut(QKeySequence::Delete);
    form->addActions({mnuHelpIndex, mnuFileExit, mnuDelete});

    mPopup = Named(new QMenu(QStringLiteral("Pop"), form), "mPopup");
    mPop[0] = AddItem(mPopup, "mPop0", QStringLiteral("&Show"));
    mPop[1] = AddItem(mPopup, "mPop1", QStringLiteral("Stop &Monitoring"));
    mPop[2] = AddItem(mPopup, "mPop2", QStringLiteral("&Exit"));
}

void frmVantuUi::DrawStatusPictures()
{
    const QSize size = imgStatus->size();
    if (!imgStatInital.isNull() && imgStatInital.deviceIndependentSize().toSize() == size)
        return;
    const qint64 shown = imgStatus->pixmap().cacheKey();
    for (auto [holder, name] :
         {std::pair{&imgStatInital, "status-initial"}, std::pair{&imgStatPreview, "status-preview"},
          std::pair{&imgStatMonitor, "status-monitor"}, std::pair{&imgStatTune, "status-tune"}})
    {
        const bool onScreen = !holder->isNull() && holder->cacheKey() == shown;
        *holder = ProgramPicture(QLatin1String(name), size);
        if (onScreen)
            imgStatus->setPixmap(*holder);
    }
}

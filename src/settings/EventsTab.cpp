#include "settings/EventsTab.h"

#include "common/Options.h"
#include "settings/PreferencesLinks.h"
#include "settings/TextRules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QSpinBox>
#include <QVBoxLayout>

namespace
{
QSpinBox* NumberBox(int minimum, int maximum, int value, const QString& suffix, const char* name,
                    QWidget* parent)
{
    auto* box = NamedWidget(new QSpinBox(parent), name);
    box->setRange(minimum, maximum);
    box->setValue(value);
    box->setSuffix(suffix);
    return box;
}

QComboBox* ChoiceBox(const QStringList& texts, int current, const char* name, QWidget* parent)
{
    auto* box = NamedWidget(new QComboBox(parent), name);
    box->addItems(texts);
    box->setCurrentIndex(current);
    return box;
}
} // namespace

EventsTab::EventsTab(PreferencesLinks& links, QWidget* parent) : QWidget(parent), links_(links)
{
    const ProgramOptions& o = links_.Options;
    auto* pictures = new QGroupBox(QStringLiteral("Pictures"), this);
    cmboFormat = ChoiceBox(
        {QStringLiteral("Bitmap (.Bmp)"), QStringLiteral("JPEG (.jpg)"), QStringLiteral("PNG (.png)")},
        static_cast<int>(o.Format), "cmboFormat", pictures);
    txtJpegQuality = NumberBox(1, 100, o.JpegQuality, {}, "txtJpegQuality", pictures);
    cmboWhenFull = ChoiceBox({QStringLiteral("Stop saving"), QStringLiteral("Replace the oldest")},
                             static_cast<int>(o.WhenFullAction), "cmboWhenFull", pictures);
    txtKeepFree = NumberBox(0, 1000000, o.KeepFreeMb, QStringLiteral(" MB"), "txtKeepFree", pictures);
    auto* pictureForm = new QFormLayout(pictures);
    pictureForm->addRow(QStringLiteral("&Format:"), cmboFormat);
    pictureForm->addRow(QStringLiteral("JPEG &quality:"), txtJpegQuality);
    pictureForm->addRow(QStringLiteral("At Max No. or a full disk:"), cmboWhenFull);
    pictureForm->addRow(QStringLiteral("&Keep free on the disk:"), txtKeepFree);

    auto* events = new QGroupBox(QStringLiteral("Events"), this);
    txtGap = NumberBox(1, 3600, o.EventGapSeconds, QStringLiteral(" s"), "txtGap", events);
    txtGap->setToolTip(QStringLiteral("Detections less than this apart form one event"));
    cmboPictures = ChoiceBox({QStringLiteral("Every detection"), QStringLiteral("The first of each event")},
                             static_cast<int>(o.Pictures), "cmboPictures", events);
    cmboMail = ChoiceBox({QStringLiteral("One per picture"), QStringLiteral("One per event")},
                         static_cast<int>(o.Mail), "cmboMail", events);
    chkLogEvents = NamedWidget(new QCheckBox(QStringLiteral("Write a log line when an event ends"), events),
                               "chkLogEvents");
    chkLogEvents->setChecked(o.LogEvents);
    chkClips =
        NamedWidget(new QCheckBox(QStringLiteral("Record a video clip of each event"), events), "chkClips");
    chkClips->setChecked(o.Clips);
    txtPreSeconds = NumberBox(0, 30, o.PreSeconds, QStringLiteral(" s"), "txtPreSeconds", events);
    txtPostSeconds = NumberBox(0, 300, o.PostSeconds, QStringLiteral(" s"), "txtPostSeconds", events);
    auto* eventForm = new QFormLayout(events);
    eventForm->addRow(QStringLiteral("&Gap between events:"), txtGap);
    eventForm->addRow(QStringLiteral("&Pictures saved:"), cmboPictures);
    eventForm->addRow(QStringLiteral("&E-mail:"), cmboMail);
    eventForm->addRow(chkLogEvents);
    eventForm->addRow(chkClips);
    eventForm->addRow(QStringLiteral("Clip starts before the event:"), txtPreSeconds);
    eventForm->addRow(QStringLiteral("Clip goes on after the event:"), txtPostSeconds);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pictures);
    layout->addWidget(events);
    layout->addStretch();
    Enable();

    for (QComboBox* box : {cmboFormat, cmboWhenFull, cmboPictures, cmboMail})
        connect(box, &QComboBox::currentIndexChanged, this, &EventsTab::Apply);
    for (QSpinBox* box : {txtJpegQuality, txtKeepFree, txtGap, txtPreSeconds, txtPostSeconds})
        connect(box, &QSpinBox::valueChanged, this, &EventsTab::Apply);
    for (QCheckBox* box : {chkLogEvents, chkClips})
        connect(box, &QCheckBox::toggled, this, &EventsTab::Apply);
}

void EventsTab::Apply()
{
    ProgramOptions& o = links_.Options;
    o.Format = static_cast<PictureFormat>(cmboFormat->currentIndex());
    o.JpegQuality = txtJpegQuality->value();
    o.WhenFullAction = static_cast<WhenFull>(cmboWhenFull->currentIndex());
    o.KeepFreeMb = txtKeepFree->value();
    o.EventGapSeconds = txtGap->value();
    o.Pictures = static_cast<EventPictures>(cmboPictures->currentIndex());
    o.Mail = static_cast<EventMail>(cmboMail->currentIndex());
    o.LogEvents = chkLogEvents->isChecked();
    o.Clips = chkClips->isChecked();
    o.PreSeconds = txtPreSeconds->value();
    o.PostSeconds = txtPostSeconds->value();
    links_.SaveOptions();
    Enable();
}

void EventsTab::Enable()
{
    txtJpegQuality->setEnabled(cmboFormat->currentIndex() == static_cast<int>(PictureFormat::Jpeg));
    txtPreSeconds->setEnabled(chkClips->isChecked());
    txtPostSeconds->setEnabled(chkClips->isChecked());
}

#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <functional>

// Small pieces the preferences tabs share.

template <typename Widget> Widget* NamedWidget(Widget* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// A button that never takes Enter for itself: the dialog has no default button.
QPushButton* DialogButton(const QString& caption, const char* name, QWidget* parent);

// The change rule of a plain text setting: the setting takes the whole text, unchanged.
void CopyText(QLineEdit* box, QString& setting);

// Asks the user for a file, as PreferencesLinks::PickFile does.
using FilePicking = std::function<QString(QWidget* parent, const QString& folder, const QString& filter)>;

// Asks for a file with pickFile, starting in the folder of the file the box names (when it names one)
// and offering filter; an empty name when the user cancels.
QString PickFileFrom(const QLineEdit* box, const FilePicking& pickFile, QWidget* parent,
                     const QString& filter = {});

// Puts the picked file's name into the box; a cancelled picker leaves the box as it was.
void PickFileInto(QLineEdit* box, const FilePicking& pickFile, QWidget* parent);

// Fill a control as the dialog does on opening: its change rules run even when it already shows
// the value.
void FillText(QLineEdit* box, const QString& text);
template <typename CheckBox> void FillCheck(CheckBox* box, bool checked)
{
    if (box->isChecked() == checked)
        emit box->toggled(checked);
    else
        box->setChecked(checked);
}

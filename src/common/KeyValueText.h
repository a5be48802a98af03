#pragma once

#include <QByteArray>
#include <QString>
#include <map>

// The settings files beside Vantu.Dat hold one "key=value" line per setting; lines starting with "#"
// are comments. Keys and values are trimmed; a line without a key is ignored.
using KeyValues = std::map<QString, QString>;

KeyValues ParseKeyValues(const QByteArray& text);

// The file's text: the heading as a comment line, then one line per key in key order. Line breaks in a
// value become spaces, so that a value never splits into two lines.
QByteArray KeyValueFileText(const QString& heading, const KeyValues& values);

// The first megabyte of the file; empty when it is missing or unreadable. The files hold a few short
// lines, so that more is no settings file.
QByteArray ReadSettingsText(const QString& path);

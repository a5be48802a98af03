#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QStringList>
#include <ostream>

// Readable values in test failure messages.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QByteArray& bytes, std::ostream* out)
{
    *out << '"' << bytes.toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* out)
{
    *out << "{";
    for (const QString& text : list)
        *out << " \"" << text.toStdString() << '"';
    *out << " }";
}
inline void PrintTo(const QSize& size, std::ostream* out)
{
    *out << size.width() << "x" << size.height();
}

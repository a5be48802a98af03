#pragma once

#include <QObject>
#include <QString>
#include <cstdint>

// The mail component: it takes a message as a sequence of property assignments and method calls,
// each addressed by its number, works asynchronously after the last call and reports each finished
// stage through Done (three per message) on the UI thread.
class MailComponent : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual void PutString(int property, const QString& value) = 0;
    virtual void PutLong(int property, std::int32_t value) = 0;
    virtual void Invoke(int method) = 0;

signals:
    void Done();
    // A message could not be delivered; the reason is in plain words and never holds a password.
    void Failed(const QString& reason);
};

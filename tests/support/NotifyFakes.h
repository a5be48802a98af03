#pragma once

#include "notify/MailComponent.h"
#include "notify/NetworkConnection.h"
#include "notify/SoundPlayer.h"

#include <QStringList>
#include <QVariant>
#include <ostream>
#include <vector>

// Records each sound request.
class FakeSoundPlayer final : public ISoundPlayer
{
public:
    void Play(const QString& wavFile) override { played << wavFile; }
    QStringList played;
};

// Answers the connection test from a setting and counts the dial requests.
class FakeNetworkConnection final : public INetworkConnection
{
public:
    bool IsConnected() override
    {
        ++tests;
        return connected;
    }
    bool AutoDialConnect() override
    {
        ++dials;
        return dialSucceeds;
    }

    bool connected = true;
    bool dialSucceeds = false;
    int tests = 0;
    int dials = 0;
};

// Records the operations it receives; a test raises Done itself.
class FakeMailComponent final : public MailComponent
{
public:
    struct Operation
    {
        enum Kind
        {
            String,
            Long,
            Method
        } kind;
        int id;
        QVariant value;
        bool operator==(const Operation&) const = default;
    };

    void PutString(int property, const QString& value) override
    {
        operations.push_back({Operation::String, property, value});
    }
    void PutLong(int property, std::int32_t value) override
    {
        operations.push_back({Operation::Long, property, value});
    }
    void Invoke(int method) override { operations.push_back({Operation::Method, method, {}}); }

    void RaiseDone() { emit Done(); }
    void RaiseFailed(const QString& reason) { emit Failed(reason); }

    std::vector<Operation> operations;
};

// Readable operations in test failure messages.
inline void PrintTo(const FakeMailComponent::Operation& operation, std::ostream* out)
{
    *out << (operation.kind == FakeMailComponent::Operation::Method ? "method " : "property ")
         << operation.id;
    if (operation.kind != FakeMailComponent::Operation::Method)
        *out << " := " << operation.value.toString().toStdString();
}

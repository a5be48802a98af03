#pragma once

#include "notify/MailComponent.h"

// Composes each message itself and sends it to the configured server over SMTP.
class SmtpMailComponent final : public MailComponent
{
public:
    using MailComponent::MailComponent;

    void PutString(int property, const QString& value) override;
    void PutLong(int property, std::int32_t value) override;
    void Invoke(int method) override;
};

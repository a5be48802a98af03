#include "notify/SmtpMailComponent.h"

void SmtpMailComponent::PutString(int, const QString&) {}

void SmtpMailComponent::PutLong(int, std::int32_t) {}

void SmtpMailComponent::Invoke(int) {}

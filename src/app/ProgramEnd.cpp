#include "app/ProgramEnd.h"
#include "app/SingleInstance.h"
#include "notify/SmtpMailComponent.h"

void EndProgram(SingleInstance& instance, SmtpMailComponent& mail)
{
    instance.Stop();
    mail.Shutdown();
}

void WriteExitReason(std::FILE* stream, const QString& reason)
{
    std::fprintf(stream, "vantu: %s\n", reason.toLocal8Bit().constData());
    std::fflush(stream);
}

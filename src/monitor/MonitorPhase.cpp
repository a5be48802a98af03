#include "monitor/MonitorPhase.h"

QString PhaseText(MonitorPhase phase)
{
    switch (phase)
    {
    case MonitorPhase::Initializing:
        return QStringLiteral("Initializing...");
    case MonitorPhase::Monitoring:
        return QStringLiteral("Monitoring...");
    case MonitorPhase::Tuning:
        return QStringLiteral("Tuning...");
    case MonitorPhase::Emailing:
        return QStringLiteral("Emailing...");
    case MonitorPhase::Idle:
        break;
    }
    return {};
}

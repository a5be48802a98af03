#include "capture/driver/SourceState.h"

namespace
{
// The reason as the end of a sentence.
QString Sentence(const QString& reason)
{
    const QString text = reason.trimmed();
    if (text.isEmpty() || text.endsWith(QChar('.')))
        return text;
    return text + QChar('.');
}

// The reason without a closing full stop, for a log line that goes on after it.
QString Clause(const QString& reason)
{
    QString text = reason.trimmed();
    while (text.endsWith(QChar('.')))
        text.chop(1);
    return text;
}
} // namespace

QString SourceStateNotice(const SourceState& state)
{
    const QString lead = QStringLiteral("No picture from %1: ").arg(state.Source);
    switch (state.Status)
    {
    case SourceStatus::Live:
        return {};
    case SourceStatus::Connecting:
        if (state.Attempt > 0)
            return lead + QStringLiteral("reconnecting (attempt %1)...").arg(state.Attempt);
        return lead + QStringLiteral("connecting...");
    case SourceStatus::Lost:
    {
        QString text = lead + Sentence(state.Reason);
        if (state.NextTrySeconds > 0)
            text += QStringLiteral(" Next try in %1 s (attempt %2).")
                        .arg(state.NextTrySeconds)
                        .arg(state.Attempt);
        return text;
    }
    case SourceStatus::Ended:
        return lead + (state.Reason.isEmpty() ? QStringLiteral("the video ended.") : Sentence(state.Reason));
    }
    return {};
}

QString SourceStateLog::Enter(const SourceState& state)
{
    switch (state.Status)
    {
    case SourceStatus::Connecting:
        return {};
    case SourceStatus::Live:
        if (!lost_)
            return {};
        lost_ = false;
        return QStringLiteral("Video restored: %1 : ").arg(state.Source);
    case SourceStatus::Lost:
        if (lost_)
            return {};
        lost_ = true;
        return QStringLiteral("Video lost: %1: %2 : ").arg(state.Source, Clause(state.Reason));
    case SourceStatus::Ended:
        lost_ = false;
        return state.Reason.isEmpty()
                   ? QStringLiteral("Video ended: %1 : ").arg(state.Source)
                   : QStringLiteral("Video ended: %1: %2 : ").arg(state.Source, Clause(state.Reason));
    }
    return {};
}

#include "common/Options.h"

#include "common/Schedule.h"

#include <QUrl>
#include <utility>

namespace
{
template <typename Value>
OptionKey Choice(const char* key, Value ProgramOptions::*member, std::vector<std::pair<QString, Value>> names)
{
    QStringList allowed;
    for (const auto& name : names)
        allowed << name.first;
    return {QString::fromLatin1(key),
            [member, names](ProgramOptions& options, const QString& text)
            {
                for (const auto& [name, value] : names)
                    if (text.compare(name, Qt::CaseInsensitive) == 0)
                    {
                        options.*member = value;
                        return true;
                    }
                return false;
            },
            [member, names](const ProgramOptions& options)
            {
                for (const auto& [name, value] : names)
                    if (options.*member == value)
                        return name;
                return names.front().first;
            },
            allowed.join(QStringLiteral(", "))};
}

OptionKey Switch(const char* key, bool ProgramOptions::*member)
{
    return Choice<bool>(key, member, {{QStringLiteral("off"), false}, {QStringLiteral("on"), true}});
}

OptionKey Number(const char* key, int ProgramOptions::*member, int low, int high)
{
    return {QString::fromLatin1(key),
            [member, low, high](ProgramOptions& options, const QString& text)
            {
                bool ok = false;
                const int value = text.toInt(&ok);
                if (!ok || value < low || value > high)
                    return false;
                options.*member = value;
                return true;
            },
            [member](const ProgramOptions& options) { return QString::number(options.*member); },
            QStringLiteral("a whole number from %1 to %2").arg(low).arg(high)};
}

OptionKey Text(const char* key, QString ProgramOptions::*member,
               std::function<bool(const QString&)> valid = {}, QString allowed = QStringLiteral("any text"))
{
    return {QString::fromLatin1(key),
            [member, valid](ProgramOptions& options, const QString& text)
            {
                if (valid && !valid(text))
                    return false;
                options.*member = text;
                return true;
            },
            [member](const ProgramOptions& options) { return options.*member; }, std::move(allowed)};
}

bool WebAddress(const QString& text)
{
    if (text.isEmpty())
        return true;
    const QUrl url(text, QUrl::StrictMode);
    return url.isValid() &&
           (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")) &&
           !url.host().isEmpty();
}
} // namespace

const std::vector<OptionKey>& OptionKeys()
{
    static const std::vector<OptionKey> keys{
        Choice(
            "detect/method", &ProgramOptions::Method,
            {{QStringLiteral("sum"), DetectMethod::Sum}, {QStringLiteral("pixels"), DetectMethod::Pixels}}),
        Text("detect/mask", &ProgramOptions::MaskPath),
        Choice("store/format", &ProgramOptions::Format,
               {{QStringLiteral("bmp"), PictureFormat::Bmp},
                {QStringLiteral("jpeg"), PictureFormat::Jpeg},
                {QStringLiteral("png"), PictureFormat::Png}}),
        Number("store/jpeg-quality", &ProgramOptions::JpegQuality, 1, 100),
        Choice("store/when-full", &ProgramOptions::WhenFullAction,
               {{QStringLiteral("stop"), WhenFull::Stop},
                {QStringLiteral("replace-oldest"), WhenFull::ReplaceOldest}}),
        Number("store/keep-free-mb", &ProgramOptions::KeepFreeMb, 0, 1000000),
        Choice(
            "store/pictures", &ProgramOptions::Pictures,
            {{QStringLiteral("all"), EventPictures::All}, {QStringLiteral("first"), EventPictures::First}}),
        Number("events/gap-seconds", &ProgramOptions::EventGapSeconds, 1, 3600),
        Choice("events/mail", &ProgramOptions::Mail,
               {{QStringLiteral("per-detection"), EventMail::PerDetection},
                {QStringLiteral("per-event"), EventMail::PerEvent}}),
        Switch("events/clips", &ProgramOptions::Clips),
        Number("events/pre-seconds", &ProgramOptions::PreSeconds, 0, 30),
        Number("events/post-seconds", &ProgramOptions::PostSeconds, 0, 300),
        Switch("events/log", &ProgramOptions::LogEvents),
        Text("monitor/schedule", &ProgramOptions::Schedule, IsSchedule,
             QStringLiteral(
                 "weekly windows such as \"mon-fri 08:00-18:00; sat,sun 00:00-24:00\", or nothing")),
        Switch("notify/desktop", &ProgramOptions::DesktopNotify),
        Text("notify/webhook", &ProgramOptions::Webhook, WebAddress,
             QStringLiteral("an http or https address")),
        Text("notify/webhook-token", &ProgramOptions::WebhookToken),
    };
    return keys;
}

ProgramOptions ReadOptions(const KeyValues& values, QStringList* problems)
{
    ProgramOptions options;
    for (const OptionKey& key : OptionKeys())
    {
        const auto found = values.find(key.Key);
        if (found == values.end() || key.Read(options, found->second))
            continue;
        if (problems != nullptr)
            problems->append(QStringLiteral("Vantu.Options: \"%1\" is no value of %2, which takes %3; the "
                                            "default \"%4\" is used instead.")
                                 .arg(found->second, key.Key, key.Allowed, key.Write(options)));
    }
    return options;
}

KeyValues OptionValues(const ProgramOptions& options)
{
    KeyValues values;
    for (const OptionKey& key : OptionKeys())
        values[key.Key] = key.Write(options);
    return values;
}

#include "common/OptionsFile.h"

#include "common/AtomicFile.h"

OptionsFile::OptionsFile(QString path)
    : path_(std::move(path)), values_(ParseKeyValues(ReadSettingsText(path_)))
{
    options_ = ReadOptions(values_, &problems_);
}

QStringList OptionsFile::TakeProblems()
{
    return std::exchange(problems_, {});
}

bool OptionsFile::Save(const ProgramOptions& options, QString* error)
{
    options_ = options;
    for (const auto& [key, value] : OptionValues(options))
        values_[key] = value;
    return ReplaceFileContents(
        path_,
        KeyValueFileText(QStringLiteral("Vantu options: detection, pictures, events and alerts."), values_),
        error);
}

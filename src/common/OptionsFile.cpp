#include "common/OptionsFile.h"

#include "common/AtomicFile.h"

#include <QDir>
#include <QFileInfo>

OptionsFile::OptionsFile(QString path)
    : path_(std::move(path)), values_(ParseKeyValues(ReadSettingsText(path_)))
{
    options_ = ReadOptions(values_, &problems_);
    // A mask named without its folder is the one beside the options, where painting saves it.
    if (!options_.MaskPath.isEmpty() && QDir::isRelativePath(options_.MaskPath))
        options_.MaskPath = QFileInfo(path_).dir().filePath(options_.MaskPath);
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

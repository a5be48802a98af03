#pragma once

#include <QString>

// The folder that holds the program file, without a trailing separator. The program keeps its
// settings, its log and its help document there.
class IAppDirectory
{
public:
    virtual ~IAppDirectory() = default;
    virtual QString Path() const = 0;

    // A fixed file name in the application directory, such as "Vantu.Dat".
    QString File(const QString& name) const { return Path() + QChar('/') + name; }
};

class ExecutableDirectory final : public IAppDirectory
{
public:
    QString Path() const override;
};

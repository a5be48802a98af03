#include "capture/stream/StreamModule.h"

#include "ui/AppDirectory.h"

#include <QLibrary>
#include <map>

namespace
{
// The functions of each module loaded, by path. Used on the user-interface thread only.
std::map<QString, const StreamModuleFunctions*>& Loaded()
{
    static std::map<QString, const StreamModuleFunctions*> modules;
    return modules;
}
} // namespace

const StreamModuleFunctions* LoadStreamModule(const QString& path, QString* error)
{
    if (const auto found = Loaded().find(path); found != Loaded().end())
        return found->second;
    // Never unloaded: drivers made by the module may live until the program ends.
    QLibrary module(path);
    using EntryPoint = const StreamModuleFunctions* (*)();
    const auto entry = reinterpret_cast<EntryPoint>(module.resolve(StreamModuleEntryPoint));
    if (entry == nullptr)
    {
        *error = QStringLiteral("the network camera and video file module could not be loaded (%1)")
                     .arg(module.errorString());
        return nullptr;
    }
    const StreamModuleFunctions* functions = entry();
    Loaded()[path] = functions;
    return functions;
}

const StreamModuleFunctions* LoadStreamModule(QString* error)
{
    return LoadStreamModule(ProgramModuleFile(QStringLiteral("libvantu_stream.so")), error);
}

void ForgetLoadedStreamModules()
{
    Loaded().clear();
}

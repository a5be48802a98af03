#include "capture/stream/StreamModule.h"

#include "ui/AppDirectory.h"

#include <QLibrary>
#include <map>
#include <mutex>

namespace
{
// The functions of each module loaded, by path, guarded by LoadMutex: a module loads on a worker
// thread while the user-interface thread may ask for it.
std::mutex LoadMutex;
std::map<QString, const StreamModuleFunctions*>& Loaded()
{
    static std::map<QString, const StreamModuleFunctions*> modules;
    return modules;
}
} // namespace

const StreamModuleFunctions* LoadStreamModule(const QString& path, QString* error)
{
    std::lock_guard lock(LoadMutex);
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

const StreamModuleFunctions* LoadedStreamModule(const QString& path)
{
    std::unique_lock lock(LoadMutex, std::try_to_lock);
    if (!lock.owns_lock())
        return nullptr;
    const auto found = Loaded().find(path);
    return found != Loaded().end() ? found->second : nullptr;
}

QString StreamModuleFile()
{
    return ProgramModuleFile(QStringLiteral("libvantu_stream.so"));
}

void ForgetLoadedStreamModules()
{
    std::lock_guard lock(LoadMutex);
    Loaded().clear();
}

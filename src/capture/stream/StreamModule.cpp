#include "capture/stream/StreamModule.h"

#include <QCoreApplication>
#include <QLibrary>

const StreamModuleFunctions* LoadStreamModule(const QString& path, QString* error)
{
    // Loaded once and never unloaded: drivers made by it may live until the program ends.
    static QLibrary module;
    static const StreamModuleFunctions* functions = nullptr;
    if (functions != nullptr)
        return functions;
    module.setFileName(path);
    using EntryPoint = const StreamModuleFunctions* (*)();
    const auto entry = reinterpret_cast<EntryPoint>(module.resolve(StreamModuleEntryPoint));
    if (entry == nullptr)
    {
        *error = QStringLiteral("the network camera and video file module could not be loaded (%1)")
                     .arg(module.errorString());
        return nullptr;
    }
    functions = entry();
    return functions;
}

const StreamModuleFunctions* LoadStreamModule(QString* error)
{
    return LoadStreamModule(QCoreApplication::applicationDirPath() + QStringLiteral("/libvantu_stream.so"),
                            error);
}

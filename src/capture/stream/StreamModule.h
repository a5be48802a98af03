#pragma once

#include <QString>
#include <memory>

class CaptureConfig;
class CaptureDriver;

// The network camera and video file source lives in a module of its own (libvantu_stream.so beside
// the program), loaded the first time the source is used: FFmpeg and the many libraries it brings
// then take memory only on machines that use it.
struct StreamModuleFunctions
{
    std::unique_ptr<CaptureDriver> (*CreateDriver)(CaptureConfig& config);
};

// The name of the function the module exports, returning its StreamModuleFunctions.
inline constexpr char StreamModuleEntryPoint[] = "VantuStreamModule";

// The module's functions, loading it from the program's folder on first use. Null, with the reason
// in error, when it cannot be loaded.
const StreamModuleFunctions* LoadStreamModule(QString* error);

// The same from the module at path; for a program whose module is not in its own folder.
const StreamModuleFunctions* LoadStreamModule(const QString& path, QString* error);

#pragma once

#include "capture/driver/CaptureDriverList.h"

#include <QString>
#include <memory>

class CaptureConfig;
class CaptureDriver;

// The network camera and video file source lives in a module of its own (libvantu_stream.so beside
// the program or in its installed library folder), loaded the first time the source is used: FFmpeg
// and the many libraries it brings then take memory only on machines that use it.
struct StreamModuleFunctions
{
    std::unique_ptr<CaptureDriver> (*CreateDriver)(CaptureConfig& config);
    // The Source and Format dialogs of the drivers CreateDriver makes.
    CaptureDriverDialog SourceDialog;
    CaptureDriverDialog FormatDialog;
};

// The name of the function the module exports, returning its StreamModuleFunctions.
inline constexpr char StreamModuleEntryPoint[] = "VantuStreamModule";

// The module's functions, loading it on first use from the program's folder, else from the
// installed module folder. Null, with the reason in error, when it cannot be loaded.
const StreamModuleFunctions* LoadStreamModule(QString* error);

// The same from the module at path; for a program whose module is not in its own folder. Each path
// is loaded once; a path that failed is tried again on the next call.
const StreamModuleFunctions* LoadStreamModule(const QString& path, QString* error);

// Forgets which modules were loaded, so that the next call loads afresh. A loaded module stays in
// memory: drivers made by it may still live. For tests.
void ForgetLoadedStreamModules();

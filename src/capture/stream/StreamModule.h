#pragma once

#include "capture/driver/CaptureDriverList.h"
#include "capture/stream/ClipRecorder.h"

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
    // The recorder of event clips.
    CreateClipRecorderFunction CreateClipRecorder;
};

// The name of the function the module exports, returning its StreamModuleFunctions.
inline constexpr char StreamModuleEntryPoint[] = "VantuStreamModule";

// The module file of this run: in the program's folder, else in the installed module folder.
QString StreamModuleFile();

// The functions of the module at path, loading it on first use; loading FFmpeg takes a few hundred
// milliseconds, so call it on a worker thread. Null, with the reason in error, when it cannot be
// loaded. Each path is loaded once; a path that failed is tried again on the next call. Safe to call
// from any thread: a call made while another loads waits for it.
const StreamModuleFunctions* LoadStreamModule(const QString& path, QString* error);

// The functions of the module at path when it is loaded already; null when it is not, or while a
// module is loading. Never waits.
const StreamModuleFunctions* LoadedStreamModule(const QString& path);

// Forgets which modules were loaded, so that the next call loads afresh. A loaded module stays in
// memory: drivers made by it may still live. For tests.
void ForgetLoadedStreamModules();

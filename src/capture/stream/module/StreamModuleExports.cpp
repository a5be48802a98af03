// The entry point of the network camera and video file module.

#include "capture/stream/StreamModule.h"
#include "capture/stream/module/ClipWriter.h"
#include "capture/stream/module/StreamDriver.h"
#include "capture/stream/module/StreamDriverDialogs.h"

#include <QtGlobal>

namespace
{
std::unique_ptr<CaptureDriver> CreateStreamDriver(CaptureConfig& config)
{
    return std::make_unique<StreamDriver>(config);
}
} // namespace

extern "C" Q_DECL_EXPORT const StreamModuleFunctions* VantuStreamModule()
{
    static const StreamModuleFunctions functions{CreateStreamDriver, DialogFor(&ShowStreamSourceDialog),
                                                 DialogFor(&ShowStreamFormatDialog), CreateClipWriter};
    return &functions;
}

#pragma once

#include "capture/driver/CaptureDriver.h"
#include "capture/driver/CaptureDriverList.h"

#include <QFutureWatcher>
#include <functional>
#include <memory>

class CaptureConfig;
class IMessageBox;
struct StreamModuleFunctions;

// Loads the stream module on a worker thread; null, with the reason in error, when it cannot.
using StreamModuleLoader = std::function<const StreamModuleFunctions*(QString* error)>;

// The network camera / video file source as the program connects it. The source's module brings
// FFmpeg, whose first load takes longer than the window may wait, so opening starts the load on a
// worker thread and reports the source as connecting; when the module is there, the driver it makes
// is opened and everything is handed to it. Until then no frames come, and the frame size is the
// one the source will most likely have: the chosen size, else the picture size of its last run.
class DeferredStreamDriver final : public CaptureDriver
{
    Q_OBJECT

public:
    // module: the module when it is loaded already, else null and load is run on a worker thread.
    // config must outlive the driver.
    DeferredStreamDriver(CaptureConfig& config, const StreamModuleFunctions* module, StreamModuleLoader load);
    ~DeferredStreamDriver() override;

    bool Open() override;
    void Close() override;
    QSize FrameSize() const override;
    bool TakeFrame(DibFrame& front) override;
    void HoldFramesUntilTaken(bool on) override;

    // Shows the module's Source or Format dialog for the module's driver. A dialog asked for while the
    // module still loads waits for it; a module that cannot be loaded is explained in messages.
    void ShowDialog(CaptureDriverDialog StreamModuleFunctions::*dialog, QWidget* parent,
                    IMessageBox& messages);

private:
    // What the worker that loads the module hands back.
    struct LoadResult
    {
        const StreamModuleFunctions* Module = nullptr;
        QString Error;
    };

    void StartLoading();
    void OnModuleLoaded();
    // Opens the module's driver once per opening of this one; tells the source lost when there is none.
    void Attach();
    // Makes the module's driver, when the module is there; false when there is no driver.
    bool MakeDriver();
    // The source's name in the states this driver tells.
    QString SourceName() const;
    // Why there is no driver.
    QString Failure() const;

    CaptureConfig& config_;
    const StreamModuleLoader load_;
    const StreamModuleFunctions* module_ = nullptr;
    QString loadError_;
    QFutureWatcher<LoadResult> loading_;
    std::unique_ptr<CaptureDriver> driver_;
    bool open_ = false;
    // The module's driver was opened for the current opening of this one.
    bool attached_ = false;
    bool hold_ = false;
};

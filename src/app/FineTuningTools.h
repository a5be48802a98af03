#pragma once

#include <QObject>
#include <QString>
#include <functional>

class MaskOverlay;
class MonitorSession;
class Notice;
struct ProgramOptions;
struct frmVantuUi;

// The mask and the view of changes in the fine tuning column: "Show changes" tints what the
// moving-pixels detector finds changed, the live picture takes the mask's strokes, and "Clear Mask"
// watches the whole picture again. A painted mask is saved at once as maskFile and named in the
// options. The tools are on while the slider is shown.
class FineTuningTools final : public QObject
{
    Q_OBJECT

public:
    struct Links
    {
        frmVantuUi& Ui;
        MonitorSession& Session;
        ProgramOptions& Options;
        std::function<void()> SaveOptions;
        QString MaskFile;
        Notice& Notices;
    };

    FineTuningTools(Links links, QObject* parent);

    MaskOverlay* Overlay() const { return overlay_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Lays the overlay over the live picture, once there is one.
    void AttachOverlay();
    void SaveMask();
    void cmdClearMask_Click();

    Links links_;
    MaskOverlay* overlay_ = nullptr;
};

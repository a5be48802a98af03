#pragma once

#include <QIcon>
#include <QObject>
#include <QString>
#include <QSystemTrayIcon>
#include <array>
#include <functional>

class QAction;
class QMenu;
class QWidget;

// The main window's place in the notification area while it monitors hidden: the icon with the
// window's own picture and the popup menu "Show", "Stop Monitoring", "Exit". Where the desktop has
// no notification area, hiding minimizes the window instead, so that it can always be brought back.
class TrayAPI final : public QObject
{
    Q_OBJECT

public:
    struct Links
    {
        // The window that hides; the icon shows its window icon.
        QWidget& TrayForm;
        // The popup menu of the icon and its three items, in the order Show, Stop Monitoring, Exit.
        QMenu& TrayMenu;
        std::array<QAction*, 3> mPop;
        // Switches to Preview mode.
        std::function<void()> StopMonitoring;
        // Unloads the main window; the program then ends.
        std::function<void()> Unload;
        // Whether the desktop has a notification area.
        std::function<bool()> TrayAvailable = &QSystemTrayIcon::isSystemTrayAvailable;
    };

    explicit TrayAPI(Links links, QObject* parent = nullptr);

    // Hides the window behind the icon, or minimizes it where there is no notification area.
    void HideToTray();
    // The popup menu's item Index was chosen: 0 Show, 1 Stop Monitoring, 2 Exit.
    void mPop_Click(int Index);

    void AddTrayIcon();
    // Removes the icon; harmless when there is none.
    void RemoveTrayIcon();

    // The icon while it is in the notification area, else null.
    QSystemTrayIcon* Icon() const;
    // The picture and tool tip of the icon, now and whenever it is shown; a null icon is the window's.
    void ShowState(const QIcon& icon, const QString& toolTip);
    // Shows a balloon on the icon; false when the icon is not in the notification area.
    bool ShowMessage(const QString& title, const QString& text);

    // Whether the desktop has a notification area to hide in.
    bool Available() const { return links_.TrayAvailable(); }

private:
    void Icon_Activated(QSystemTrayIcon::ActivationReason reason);

    Links links_;
    QSystemTrayIcon* icon_ = nullptr;
    QIcon stateIcon_;
    QString toolTip_;
};

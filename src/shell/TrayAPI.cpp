#include "shell/TrayAPI.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QWidget>

TrayAPI::TrayAPI(Links links, QObject* parent) : QObject(parent), links_(std::move(links)) {}

void TrayAPI::HideToTray()
{
    if (!links_.TrayAvailable())
    {
        links_.TrayForm.showMinimized();
        return;
    }
    AddTrayIcon();
    links_.TrayForm.hide();
}

void TrayAPI::AddTrayIcon()
{
    if (icon_ == nullptr)
    {
        icon_ = new QSystemTrayIcon(stateIcon_.isNull() ? links_.TrayForm.windowIcon() : stateIcon_, this);
        icon_->setToolTip(toolTip_);
        icon_->setContextMenu(&links_.TrayMenu);
        connect(icon_, &QSystemTrayIcon::activated, this, &TrayAPI::Icon_Activated);
    }
    icon_->show();
}

void TrayAPI::RemoveTrayIcon()
{
    if (icon_ != nullptr)
        icon_->hide();
}

void TrayAPI::ShowState(const QIcon& icon, const QString& toolTip)
{
    if (icon.cacheKey() == stateIcon_.cacheKey() && toolTip == toolTip_)
        return;
    stateIcon_ = icon;
    toolTip_ = toolTip;
    if (icon_ != nullptr)
    {
        icon_->setIcon(stateIcon_.isNull() ? links_.TrayForm.windowIcon() : stateIcon_);
        icon_->setToolTip(toolTip_);
    }
}

bool TrayAPI::ShowMessage(const QString& title, const QString& text)
{
    if (Icon() == nullptr)
        return false;
    icon_->showMessage(title, text, QSystemTrayIcon::Information);
    return true;
}

QSystemTrayIcon* TrayAPI::Icon() const
{
    return icon_ != nullptr && icon_->isVisible() ? icon_ : nullptr;
}

void TrayAPI::mPop_Click(int Index)
{
    switch (Index)
    {
    case 0:
    {
        QWidget& form = links_.TrayForm;
        form.show();
        if (form.isMinimized())
            form.showNormal();
        form.raise();
        form.activateWindow();
        RemoveTrayIcon();
        break;
    }
    case 1:
        links_.StopMonitoring();
        // The mode change enables Stop Monitoring and disables Exit; from the tray, the way out
        // after stopping is Exit.
        links_.mPop[1]->setEnabled(false);
        links_.mPop[2]->setEnabled(true);
        break;
    case 2:
        links_.Unload();
        // Closing a hidden window does not end the event loop by itself.
        QCoreApplication::quit();
        break;
    default:
        break;
    }
}

void TrayAPI::Icon_Activated(QSystemTrayIcon::ActivationReason reason)
{
    // A left click brings the window back, as Show does; the right click opens the menu by itself.
    if (reason == QSystemTrayIcon::Trigger && Icon() != nullptr)
        mPop_Click(0);
}

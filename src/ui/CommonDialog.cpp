#include "ui/CommonDialog.h"

#include "ui/MessageBox.h"

#include <QDialog>
#include <QFile>
#include <QTextBrowser>
#include <QVBoxLayout>

CommonDialog::CommonDialog(IMessageBox& messages, QWidget* parent) : messages_(messages), parent_(parent) {}

CommonDialog::~CommonDialog()
{
    delete window_;
}

void CommonDialog::ShowHelp()
{
    QFile file(HelpFile);
    if (!file.open(QIODevice::ReadOnly))
    {
        messages_.Show(QStringLiteral("The help file \"%1\" could not be opened (%2).")
                           .arg(HelpFile, file.errorString()),
                       MsgBoxStyle::Exclamation);
        return;
    }
    if (!window_)
    {
        window_ = new QDialog(parent_, Qt::Window);
        window_->setObjectName(QStringLiteral("HelpWindow"));
        window_->setWindowTitle(QStringLiteral("Vantu Help"));
        window_->resize(640, 560);
        auto* browser = new QTextBrowser(window_);
        browser->setObjectName(QStringLiteral("HelpText"));
        browser->setOpenExternalLinks(true);
        auto* layout = new QVBoxLayout(window_);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(browser);
    }
    auto* browser = window_->findChild<QTextBrowser*>(QStringLiteral("HelpText"));
    browser->setHtml(QString::fromUtf8(file.readAll()));
    if (HelpCommand == cdlHelpIndex)
        browser->scrollToAnchor(QStringLiteral("index"));
    window_->show();
    window_->raise();
    window_->activateWindow();
}

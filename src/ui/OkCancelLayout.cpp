#include "ui/OkCancelLayout.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QVBoxLayout>

void LayOutWithOkCancel(QDialog& dialog, std::initializer_list<DialogPart> parts)
{
    auto* layout = new QVBoxLayout(&dialog);
    for (const DialogPart& part : parts)
    {
        if (QWidget* const* widget = std::get_if<QWidget*>(&part))
            layout->addWidget(*widget);
        else
            layout->addLayout(std::get<QLayout*>(part));
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
}

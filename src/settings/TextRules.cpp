#include "settings/TextRules.h"

#include <QFileInfo>

QPushButton* DialogButton(const QString& caption, const char* name, QWidget* parent)
{
    auto* button = NamedWidget(new QPushButton(caption, parent), name);
    button->setAutoDefault(false);
    return button;
}

void CopyText(QLineEdit* box, QString& setting)
{
    QObject::connect(box, &QLineEdit::textChanged, box, [&setting](const QString& text) { setting = text; });
}

QString PickFileFrom(const QLineEdit* box, const FilePicking& pickFile, QWidget* parent,
                     const QString& filter)
{
    const QString current = box->text().trimmed();
    return pickFile(parent, current.isEmpty() ? QString() : QFileInfo(current).absolutePath(), filter);
}

void PickFileInto(QLineEdit* box, const FilePicking& pickFile, QWidget* parent)
{
    const QString name = PickFileFrom(box, pickFile, parent);
    if (!name.isEmpty())
        box->setText(name);
}

void FillText(QLineEdit* box, const QString& text)
{
    if (box->text() == text)
        emit box->textChanged(text);
    else
        box->setText(text);
}

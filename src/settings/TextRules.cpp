#include "settings/TextRules.h"

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

void PickFileInto(QLineEdit* box, const std::function<QString(QWidget*)>& pickFile, QWidget* parent)
{
    const QString name = pickFile(parent);
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

#include "settings/UpDown.h"

#include "settings/WholeNumberBox.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace
{
QToolButton* Arrow(Qt::ArrowType direction, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setArrowType(direction);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    return button;
}
} // namespace

UpDown::UpDown(QLineEdit* buddy, QWidget* parent) : QWidget(parent), buddy_(buddy)
{
    Up = Arrow(Qt::UpArrow, this);
    Down = Arrow(Qt::DownArrow, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Up);
    layout->addWidget(Down);
    setFixedWidth(18);

    connect(Up, &QToolButton::clicked, this, [this] { Step(1); });
    connect(Down, &QToolButton::clicked, this, [this] { Step(-1); });
    connect(buddy_, &QLineEdit::textChanged, this, &UpDown::Buddy_Change);
}

void UpDown::Buddy_Change()
{
    if (const std::optional<std::int32_t> value = ParseWholeNumber(buddy_->text()))
        value_ = *value;
}

void UpDown::Step(int delta)
{
    const std::int32_t next = std::clamp(value_ + delta, WholeNumberMinimum, WholeNumberMaximum);
    buddy_->setText(QString::number(next));
}

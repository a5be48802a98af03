#pragma once

#include <QWidget>
#include <cstdint>

class QLineEdit;
class QToolButton;

// A spin control attached to a text box: its arrows step the box's number by 1 between 0 and
// 99999. While the box holds text that is not a whole number, the arrows step from the last number
// it held.
class UpDown final : public QWidget
{
    Q_OBJECT

public:
    UpDown(QLineEdit* buddy, QWidget* parent);

    // Steps the buddy's number by delta, within the limits.
    void Step(int delta);

    QToolButton* Up;
    QToolButton* Down;

private:
    void Buddy_Change();

    QLineEdit* buddy_;
    std::int32_t value_ = 0;
};

#include "ui/StatusPanel.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>

StatusPanel::StatusPanel(const QString& text, QWidget* parent) : QFrame(parent), text_(text)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    widest_ = TextWidth(text_);
}

void StatusPanel::SetText(const QString& text)
{
    if (text == text_)
        return;
    text_ = text;
    const int needed = TextWidth(text_);
    if (needed > widest_)
    {
        widest_ = needed;
        updateGeometry();
    }
    update();
}

QSize StatusPanel::sizeHint() const
{
    const int frame = 2 * frameWidth();
    return {widest_ + frame, fontMetrics().height() + frame};
}

QSize StatusPanel::minimumSizeHint() const
{
    // Narrower than its text when the window is: the text is cut off at the panel's edge.
    return {20, sizeHint().height()};
}

void StatusPanel::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect().adjusted(Indent(), 0, -Indent(), 0),
                          Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(), text_, foregroundRole());
}

void StatusPanel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
    {
        widest_ = TextWidth(text_);
        updateGeometry();
    }
    QFrame::changeEvent(event);
}

int StatusPanel::TextWidth(const QString& text) const
{
    return fontMetrics().horizontalAdvance(text) + 2 * Indent();
}

int StatusPanel::Indent() const
{
    // As a framed label indents its text.
    return fontMetrics().horizontalAdvance(QChar('x')) / 2;
}

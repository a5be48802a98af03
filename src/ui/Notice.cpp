#include "ui/Notice.h"

#include <QEvent>
#include <QPainter>
#include <QTimer>

Notice::Notice(QWidget* over) : QLabel(over), hide_(new QTimer(this))
{
    setObjectName(QStringLiteral("Notice"));
    setWordWrap(true);
    setTextFormat(Qt::PlainText);
    setAutoFillBackground(true);
    setMargin(4);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(255, 244, 200, 235));
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);
    laidOut_.setTextFormat(Qt::PlainText);
    hide_->setSingleShot(true);
    connect(hide_, &QTimer::timeout, this, &QWidget::hide);
    over->installEventFilter(this);
    hide();
}

void Notice::ShowText(const QString& text, int milliseconds)
{
    setText(text);
    Place();
    show();
    raise();
    hide_->start(milliseconds);
}

bool Notice::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parent() && event->type() == QEvent::Resize)
        Place();
    return QLabel::eventFilter(watched, event);
}

void Notice::paintEvent(QPaintEvent*)
{
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    if (laidOut_.text() != text() || laidOut_.textWidth() != area.width())
    {
        laidOut_.setText(text());
        laidOut_.setTextWidth(area.width());
        laidOut_.prepare(QTransform(), font());
    }
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawStaticText(area.topLeft(), laidOut_);
}

void Notice::Place()
{
    const QWidget* over = parentWidget();
    const int width = over->width();
    const int height = std::min(heightForWidth(width), over->height());
    setGeometry(0, over->height() - height, width, height);
}

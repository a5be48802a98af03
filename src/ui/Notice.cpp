#include "ui/Notice.h"

#include <QEvent>
#include <QTimer>

Notice::Notice(QWidget* over) : QLabel(over), hide_(new QTimer(this))
{
    setObjectName(QStringLiteral("Notice"));
    setWordWrap(true);
    setTextFormat(Qt::PlainText);
    setAutoFillBackground(true);
    setMargin(4);
    setStyleSheet(QStringLiteral("background-color: rgba(255, 244, 200, 235); color: black;"));
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

void Notice::Place()
{
    const QWidget* over = parentWidget();
    const int width = over->width();
    const int height = std::min(heightForWidth(width), over->height());
    setGeometry(0, over->height() - height, width, height);
}

#include "capture/window/SourceStateOverlay.h"

#include <QEvent>
#include <algorithm>

SourceStateOverlay::SourceStateOverlay(QWidget* view) : QLabel(view)
{
    setObjectName(QStringLiteral("lblSourceState"));
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAlignment(Qt::AlignCenter);
    setMargin(6);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setStyleSheet(QStringLiteral("background-color: rgba(0, 0, 0, 170); color: white;"));
    view->installEventFilter(this);
    hide();
    countdown_.setInterval(1000);
    connect(&countdown_, &QTimer::timeout, this, &SourceStateOverlay::CountDown);
}

void SourceStateOverlay::ShowState(const SourceState& state)
{
    shown_ = state;
    SetNotice(SourceStateNotice(state));
    if (state.NextTrySeconds > 1)
        countdown_.start();
    else
        countdown_.stop();
}

void SourceStateOverlay::CountDown()
{
    // The source tells the try itself when it starts; until then the notice says one second.
    if (--shown_.NextTrySeconds <= 1)
        countdown_.stop();
    SetNotice(SourceStateNotice(shown_));
}

void SourceStateOverlay::SetNotice(const QString& text)
{
    setText(text);
    setToolTip(text);
    setVisible(!text.isEmpty());
    if (!text.isEmpty())
    {
        FitToView();
        raise();
    }
}

bool SourceStateOverlay::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parent() && event->type() == QEvent::Resize && !isHidden())
        FitToView();
    return QLabel::eventFilter(watched, event);
}

void SourceStateOverlay::FitToView()
{
    const QWidget* view = parentWidget();
    const int height = std::min(view->height(), std::max(heightForWidth(view->width()), sizeHint().height()));
    setGeometry(0, (view->height() - height) / 2, view->width(), height);
}

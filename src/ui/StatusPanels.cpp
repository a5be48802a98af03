#include "ui/StatusPanels.h"

#include "ui/StatusPanel.h"

#include <QBoxLayout>
#include <QHelpEvent>
#include <QToolTip>

StatusPanels::StatusPanels(const std::vector<Panel>& panels, QWidget* parent) : QStatusBar(parent)
{
    setSizeGripEnabled(false);
    for (const Panel& panel : panels)
    {
        auto* label = new StatusPanel(panel.Text, this);
        label->setObjectName(panel.Key);
        label->setToolTip(panel.ToolTip);
        // The first panel takes the room the others leave.
        addPermanentWidget(label, labels_.empty() ? 1 : 0);
        labels_.push_back(label);
    }
    DropBottomSpacing();
}

bool StatusPanels::event(QEvent* event)
{
    const bool handled = QStatusBar::event(event);
    // The status bar lays its panels out anew when their height changes, spacing included.
    if (event->type() == QEvent::LayoutRequest)
        DropBottomSpacing();
    return handled;
}

void StatusPanels::DropBottomSpacing()
{
    auto* box = qobject_cast<QBoxLayout*>(layout());
    if (box == nullptr || box->count() == 0)
        return;
    if (box->itemAt(box->count() - 1)->spacerItem() != nullptr)
        delete box->takeAt(box->count() - 1);
}

StatusPanel* StatusPanels::Label(int position) const
{
    Q_ASSERT(position >= 1 && position <= Count());
    return labels_[static_cast<std::size_t>(position - 1)];
}

QString StatusPanels::Text(int position) const
{
    return Label(position)->Text();
}
void StatusPanels::SetText(int position, const QString& text)
{
    Label(position)->SetText(text);
}
QString StatusPanels::Key(int position) const
{
    return Label(position)->objectName();
}
QString StatusPanels::ToolTip(int position) const
{
    const StatusPanel* label = Label(position);
    if (const auto found = toolTipSources_.find(label); found != toolTipSources_.end())
        if (const QString text = found->second(); !text.isEmpty())
            return text;
    return label->toolTip();
}

void StatusPanels::SetToolTipSource(int position, std::function<QString()> source)
{
    StatusPanel* label = Label(position);
    toolTipSources_[label] = std::move(source);
    label->installEventFilter(this);
}

bool StatusPanels::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ToolTip)
        for (int position = 1; position <= Count(); ++position)
            if (Label(position) == watched)
            {
                QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), ToolTip(position),
                                   Label(position));
                return true;
            }
    return QStatusBar::eventFilter(watched, event);
}

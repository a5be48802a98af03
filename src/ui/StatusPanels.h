#pragma once

#include <QStatusBar>
#include <QString>
#include <vector>

class QLabel;

// A status bar of text panels, each with a key and a tool tip, addressed by position from 1.
class StatusPanels final : public QStatusBar
{
    Q_OBJECT

public:
    struct Panel
    {
        QString Key;
        QString Text;
        QString ToolTip;
    };

    StatusPanels(const std::vector<Panel>& panels, QWidget* parent = nullptr);

    int Count() const { return static_cast<int>(labels_.size()); }
    QString Text(int position) const;
    void SetText(int position, const QString& text);
    QString Key(int position) const;
    QString ToolTip(int position) const;

private:
    QLabel* Label(int position) const;

    std::vector<QLabel*> labels_;
};

#pragma once

#include <QStatusBar>
#include <QString>
#include <functional>
#include <map>
#include <vector>

class StatusPanel;

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
    // The tool tip the panel shows now: the text of its source when that gives one, else its own.
    QString ToolTip(int position) const;
    // Computes the panel's tool tip each time it is shown, for figures that change with every frame.
    void SetToolTipSource(int position, std::function<QString()> source);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    StatusPanel* Label(int position) const;
    // QStatusBar keeps two pixels under its panels, which show as an empty strip along the window's
    // bottom edge: the panels reach the edge instead.
    void DropBottomSpacing();

    std::vector<StatusPanel*> labels_;
    std::map<const QObject*, std::function<QString()>> toolTipSources_;
};

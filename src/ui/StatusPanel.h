#pragma once

#include <QFrame>
#include <QString>

// One sunken text panel of a status bar. A panel whose text changes often (a count, a state) asks
// the status bar to lay its panels out again only when the new text needs more room than the panel
// had: other panels then keep their places and are not drawn again, and the text is shaped once, to
// be drawn. The panel keeps the widest size its texts needed.
class StatusPanel final : public QFrame
{
    Q_OBJECT

public:
    StatusPanel(const QString& text, QWidget* parent);

    QString Text() const { return text_; }
    void SetText(const QString& text);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The room text needs inside the frame.
    int TextWidth(const QString& text) const;
    // Room between the frame and the text on either side.
    int Indent() const;

    QString text_;
    int widest_ = 0;
};

#include "ui/StatusPanels.h"

#include <QApplication>
#include <QMainWindow>
#include <QTest>
#include <gtest/gtest.h>

namespace
{
// Counts the layout requests a widget receives.
class LayoutRequests final : public QObject
{
public:
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::LayoutRequest)
            ++count;
        return false;
    }
};
} // namespace

TEST(StatusPanels, ATextThatFitsChangesNoLayoutAndAWiderOneWidensItsPanel)
{
    QMainWindow window;
    auto* bar = new StatusPanels({{QStringLiteral("StatAct"), QStringLiteral("Previewing..."), {}},
                                  {QStringLiteral("StatDet"), QStringLiteral("Detections: 0"), {}}},
                                 &window);
    window.setStatusBar(bar);
    window.resize(400, 200);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();
    const QWidget* count = bar->findChild<QWidget*>(QStringLiteral("StatDet"));
    const QRect before = count->geometry();
    LayoutRequests requests;
    bar->installEventFilter(&requests);

    for (int detections = 1; detections <= 9; ++detections)
        bar->SetText(2, QStringLiteral("Detections: %1").arg(detections));
    bar->SetText(1, QStringLiteral("Monitoring..."));
    QCoreApplication::processEvents();
    EXPECT_EQ(requests.count, 0) << "every panel keeps its place";
    EXPECT_EQ(count->geometry(), before);
    EXPECT_EQ(bar->Text(2), QStringLiteral("Detections: 9"));

    bar->SetText(2, QStringLiteral("Detections: 123456"));
    QTRY_VERIFY(count->width() > before.width());
}

TEST(StatusPanels, ThePanelsReachTheWindowsBottomEdge)
{
    QMainWindow window;
    auto* bar = new StatusPanels({{QStringLiteral("StatAct"), QStringLiteral("Previewing..."), {}}}, &window);
    window.setStatusBar(bar);
    window.resize(400, 200);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    bar->setFont(QFont(bar->font().family(), bar->font().pointSize() + 4)); // lays the bar out anew
    QCoreApplication::processEvents();
    const QWidget* panel = bar->findChild<QWidget*>(QStringLiteral("StatAct"));
    EXPECT_EQ(panel->geometry().bottom(), bar->height() - 1);
}

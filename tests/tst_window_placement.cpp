// Where the main window stands: the platform it runs on, the stored position checked
// against the screens, and the edit panel kept on the screen.
#include "main_window/panel_in_view.h"
#include "platform/platform_choice.h"
#include "platform/window_placement.h"
#include "support/window_driver.h"

#include <QScreen>
#include <QtTest>

using namespace WindowDriver;

namespace {

const QRect kLeft(0, 0, 1280, 1024);
const QRect kRight(1280, 0, 1280, 1024);
constexpr int kWidth = 390;

QPoint Placed(QPoint stored, const QList<QRect>& screens, const QRect& primary = kLeft)
{
    return WindowPlacement::TopLeft(stored, kWidth, screens, primary);
}

} // namespace

class TestWindowPlacement : public QObject {
    Q_OBJECT
private slots:
    void platformChoice()
    {
        using PlatformChoice::For;
        // An X display, in an X session or from Xwayland: the X11 client.
        QCOMPARE(For("", ":0"), QByteArray("xcb"));
        // The user's choice wins, whatever the session offers.
        QCOMPARE(For("wayland", ":0"), QByteArray());
        QCOMPARE(For("offscreen", ""), QByteArray());
        // No X display at all: Qt chooses (a Wayland-only session).
        QCOMPARE(For("", ""), QByteArray());
    }

    void oneScreen_data()
    {
        QTest::addColumn<QPoint>("stored");
        QTest::addColumn<QPoint>("placed");
        QTest::newRow("inside") << QPoint(200, 100) << QPoint(200, 100);
        QTest::newRow("top-left corner") << QPoint(0, 0) << QPoint(0, 0);
        QTest::newRow("pushed a little off the left") << QPoint(-20, 50) << QPoint(-20, 50);
        QTest::newRow("a little above") << QPoint(100, -10) << QPoint(100, -10);
        QTest::newRow("title bar leaves the top") << QPoint(100, -11) << QPoint(0, 0);
        QTest::newRow("half off the left") << QPoint(-kWidth / 2, 50) << QPoint(-kWidth / 2, 50);
        QTest::newRow("more than half off the left") << QPoint(-kWidth / 2 - 1, 50) << QPoint(0, 0);
        QTest::newRow("title bar on the last row") << QPoint(100, 1013) << QPoint(100, 1013);
        QTest::newRow("title bar below the screen") << QPoint(100, 1014) << QPoint(0, 0);
        QTest::newRow("title bar middle on the last column")
            << QPoint(1279 - kWidth / 2, 50) << QPoint(1279 - kWidth / 2, 50);
        QTest::newRow("title bar middle right of the screen")
            << QPoint(1280 - kWidth / 2, 50) << QPoint(0, 0);
        // What the old rule let through by comparing the top-left corner alone.
        QTest::newRow("top equal to the screen height") << QPoint(100, 1024) << QPoint(0, 0);
        QTest::newRow("left equal to the screen width") << QPoint(1280, 100) << QPoint(0, 0);
        QTest::newRow("far left and above") << QPoint(-1000, -1000) << QPoint(0, 0);
        QTest::newRow("far off") << QPoint(1000000, 1000000) << QPoint(0, 0);
        QTest::newRow("far off negative") << QPoint(-1000000, -1000000) << QPoint(0, 0);
    }
    void oneScreen()
    {
        QFETCH(QPoint, stored);
        QFETCH(QPoint, placed);
        QCOMPARE(Placed(stored, {kLeft}), placed);
    }

    void twoScreensSideBySide()
    {
        const QList<QRect> both{kLeft, kRight};
        // On the right-hand screen: kept.
        QCOMPARE(Placed({1500, 300}, both), QPoint(1500, 300));
        // Across the seam, the title bar's middle on either side: kept.
        QCOMPARE(Placed({1280 - kWidth / 2 - 1, 300}, both), QPoint(1280 - kWidth / 2 - 1, 300));
        QCOMPARE(Placed({1280 - kWidth / 2, 300}, both), QPoint(1280 - kWidth / 2, 300));
        // Right of the right-hand screen, or below both: the primary screen's corner.
        QCOMPARE(Placed({2560 - kWidth / 2, 300}, both), QPoint(0, 0));
        QCOMPARE(Placed({1500, 1100}, both), QPoint(0, 0));
        // The primary screen on the right: its corner is not 0,0.
        QCOMPARE(Placed({-5000, 0}, both, kRight), QPoint(1280, 0));
    }

    void screensOfDifferentSizes()
    {
        // A tall screen beside a short one: below the short one's bottom only the tall
        // one counts.
        const QList<QRect> screens{QRect(0, 0, 1280, 1440), QRect(1280, 0, 1920, 1080)};
        QCOMPARE(Placed({100, 1300}, screens), QPoint(100, 1300));
        QCOMPARE(Placed({1500, 1300}, screens), QPoint(0, 0));
        // A screen left of the primary one, at negative coordinates.
        const QList<QRect> leftOfPrimary{QRect(-1280, 0, 1280, 1024), kLeft};
        QCOMPARE(Placed({-1000, 100}, leftOfPrimary), QPoint(-1000, 100));
    }

    void noScreenKnown() { QCOMPARE(Placed({-15000, 5}, {}), QPoint(-15000, 5)); }

    void raisedTop_data()
    {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<int>("growth");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<int>("top");
        const QRect area(0, 0, 1280, 1000);
        QTest::newRow("room enough") << QRect(0, 100, 390, 200) << 130 << area << 100;
        QTest::newRow("exactly to the edge") << QRect(0, 670, 390, 200) << 130 << area << 670;
        QTest::newRow("one pixel over") << QRect(0, 671, 390, 200) << 130 << area << 670;
        QTest::newRow("low") << QRect(0, 900, 390, 200) << 130 << area << 670;
        QTest::newRow("below the area") << QRect(0, 1100, 390, 200) << 130 << area << 670;
        // A panel at the top of the screen: the area starts below it.
        QTest::newRow("area not at 0")
            << QRect(0, 900, 390, 200) << 130 << QRect(0, 30, 1280, 970) << 670;
        QTest::newRow("taller than the area")
            << QRect(0, 500, 390, 200) << 900 << QRect(0, 30, 1280, 970) << 30;
        QTest::newRow("second screen")
            << QRect(1400, 950, 390, 200) << 130 << QRect(1280, 0, 1280, 1024) << 694;
    }
    void raisedTop()
    {
        QFETCH(QRect, frame);
        QFETCH(int, growth);
        QFETCH(QRect, available);
        QFETCH(int, top);
        QCOMPARE(PanelInView::RaisedTop(frame, growth, available), top);
    }

    // The window applies the rule at start-up, over the screens the platform reports.
    void startUpPlacesTheWindowByTheRule()
    {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        struct Case {
            int top, left;
            QPoint at;
        };
        const Case cases[] = {{1500, 3000, {200, 100}},
                              {-150, -300, {-20, -10}},
                              {-15000, -15000, screen.topLeft()},
                              {(screen.bottom() + 1) * 15, 1500, screen.topLeft()}};
        for (const Case& c : cases) {
            MainWindowFixture f(TestFiles::NumberedEntries(1), c.top, c.left);
            QCOMPARE(f.w->pos(), c.at);
        }
    }

    // The edit panel of a window standing low: moved up just enough, back afterwards.
    void editPanelStaysOnTheScreen()
    {
        MainWindowFixture f(TestFiles::NumberedEntries(2));
        auto [dir, desktop, w] = f.Parts();
        QVERIFY(ShowActive(w));
        const QRect area = w.screen()->availableGeometry();
        const QPoint low(150, area.bottom() - w.frameGeometry().height() - 20);
        w.move(low);
        QTRY_COMPARE(w.pos(), low);

        Click(w.Controls().Bt_Edit);
        QTRY_COMPARE(w.frameGeometry().bottom(), area.bottom());
        QCOMPARE(w.x(), low.x());
        Click(w.Controls().Bt_OK[1]);
        QTRY_COMPARE(w.pos(), low);

        // Committed: the save and reload in between leave it where the mode put it.
        Click(w.Controls().Bt_Add);
        QTRY_COMPARE(w.frameGeometry().bottom(), area.bottom());
        QTest::keyClicks(w.Controls().Tx_Data[0], QStringLiteral("new"));
        Click(w.Controls().Bt_OK[0]);
        QCOMPARE(w.Table().size(), 3);
        QTRY_COMPARE(w.pos(), low);
        // The file holds where the window stands for the user, not where it was raised to.
        QVERIFY(dir.data().startsWith(QByteArray::number(low.y() * 15) + ',' +
                                      QByteArray::number(low.x() * 15) + "\r\n"));

        // Moved by the user while the panel is open: left where the user put it.
        Click(w.Controls().Bt_Edit);
        QTRY_VERIFY(w.y() < low.y());
        const QPoint moved(300, 40);
        w.move(moved);
        QTRY_COMPARE(w.pos(), moved);
        Click(w.Controls().Bt_OK[1]);
        QCOMPARE(w.pos(), moved);

        // Room enough below: the window does not move at all.
        Click(w.Controls().Bt_Edit);
        QCOMPARE(w.pos(), moved);
        Click(w.Controls().Bt_OK[1]);
        QCOMPARE(w.pos(), moved);
    }
};

QTEST_MAIN(TestWindowPlacement)
#include "tst_window_placement.moc"

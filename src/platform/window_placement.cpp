#include "window_placement.h"

#include <QGuiApplication>
#include <QScreen>

namespace WindowPlacement {

namespace {

// Below the window's top edge, inside any title bar the window system draws.
constexpr int kTitleBarMiddle = 10;

} // namespace

QPoint TopLeft(QPoint stored, int windowWidth, const QList<QRect>& screens, const QRect& primary)
{
    if (screens.isEmpty())
        return stored;
    // 64-bit: a position read from an edited file may lie far out.
    const qint64 x = qint64(stored.x()) + windowWidth / 2;
    const qint64 y = qint64(stored.y()) + kTitleBarMiddle;
    for (const QRect& screen : screens) {
        if (x >= screen.left() && x <= screen.right() && y >= screen.top() && y <= screen.bottom())
            return stored;
    }
    return primary.topLeft();
}

QPoint OnCurrentScreens(QPoint stored, int windowWidth)
{
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens << screen->geometry();
    const QScreen* primary = QGuiApplication::primaryScreen();
    return TopLeft(stored, windowWidth, screens, primary ? primary->geometry() : QRect());
}

} // namespace WindowPlacement

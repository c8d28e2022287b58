#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

// Where a window goes that the data file places at a stored top-left corner (pixels).
namespace WindowPlacement {

// The stored corner is kept while the middle of the title bar of a window there (half its
// width right of its left edge, 10 pixels below its top edge) lies on one of `screens`:
// the user can then reach the title bar and drag the window. Otherwise the window goes to
// the top-left corner of `primary`. With no screen known, the stored corner is kept.
QPoint TopLeft(QPoint stored, int windowWidth, const QList<QRect>& screens, const QRect& primary);

// TopLeft() over the screens the application knows now.
QPoint OnCurrentScreens(QPoint stored, int windowWidth);

} // namespace WindowPlacement

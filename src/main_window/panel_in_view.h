#pragma once

#include <QPoint>
#include <QRect>
#include <optional>

class QWidget;

// The edit panel opens by growing the window downwards. A window standing low would put
// the panel below the screen's edge, where the user types blind: growing moves it up just
// enough, and shrinking puts it back where it was.
class PanelInView {
public:
    // The top edge for a window whose outer frame is `frame` once it has grown by `growth`
    // pixels, so that its lower edge stays inside `available`; never above the area's top.
    static int RaisedTop(const QRect& frame, int growth, const QRect& available);

    // Gives `window` a client height of `height` pixels. A window that grows is moved up
    // as RaisedTop() says; one that shrinks goes back to where it stood before that move,
    // but only if it still stands where the move put it (the user may have moved it since).
    void SetHeight(QWidget* window, int height);

    // Where `window` stands when it is not raised: the place it will go back to while it
    // stands where the move put it, else where it is.
    QPoint Home(const QWidget* window) const;

private:
    std::optional<QPoint> movedTo_;
    QPoint movedFrom_;
};

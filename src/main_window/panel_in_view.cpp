#include "panel_in_view.h"

#include <QScreen>
#include <QWidget>

int PanelInView::RaisedTop(const QRect& frame, int growth, const QRect& available)
{
    const int lowestTop = available.bottom() + 1 - (frame.height() + growth);
    if (frame.top() <= lowestTop)
        return frame.top();
    return qMax(lowestTop, available.top());
}

void PanelInView::SetHeight(QWidget* window, int height)
{
    const int growth = height - window->height();
    if (growth > 0 && window->isVisible() && window->screen()) {
        const QRect frame = window->frameGeometry();
        const int top = RaisedTop(frame, growth, window->screen()->availableGeometry());
        // Up first, so the window never reaches past the edge on its way.
        if (top < frame.top()) {
            movedFrom_ = window->pos();
            window->move(window->x(), window->y() - (frame.top() - top));
            movedTo_ = window->pos();
        }
    }
    window->setFixedHeight(height);
    if (growth < 0 && movedTo_) {
        if (window->pos() == *movedTo_)
            window->move(movedFrom_);
        movedTo_.reset();
    }
}

QPoint PanelInView::Home(const QWidget* window) const
{
    return movedTo_ && window->pos() == *movedTo_ ? movedFrom_ : window->pos();
}

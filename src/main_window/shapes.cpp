#include "shapes.h"

#include <QPainter>

namespace {

// Shapes are decoration: they never take the mouse or the focus.
void MakeDecoration(QWidget* shape)
{
    shape->setAttribute(Qt::WA_TransparentForMouseEvents);
    shape->setFocusPolicy(Qt::NoFocus);
}

// A one-pixel outline just inside `r`, drawn as four filled bands. At 125 or 150 % a widget
// can start half-way into a device pixel: a pen line along its edge then falls outside
// the widget's clip and vanishes (the top edge), or spreads over two pixels (the bottom
// one). A band one pixel wide always covers at least one whole device pixel.
void DrawOutline(QPainter& p, const QRectF& r, const QColor& color)
{
    p.fillRect(QRectF(r.left(), r.top(), r.width(), 1), color);
    p.fillRect(QRectF(r.left(), r.bottom() - 1, r.width(), 1), color);
    p.fillRect(QRectF(r.left(), r.top(), 1, r.height()), color);
    p.fillRect(QRectF(r.right() - 1, r.top(), 1, r.height()), color);
}

} // namespace

FilledShape::FilledShape(QWidget* parent) : QWidget(parent)
{
    MakeDecoration(this);
}

void FilledShape::SetFillColor(const QColor& color)
{
    fill_ = color;
    update();
}

void FilledShape::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), fill_);
    DrawOutline(p, rect(), Qt::black);
}

OutlineShape::OutlineShape(QWidget* parent) : QWidget(parent)
{
    MakeDecoration(this);
}

void OutlineShape::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    DrawOutline(p, rect(), palette().color(QPalette::WindowText));
}

LineShape::LineShape(QWidget* parent) : QWidget(parent)
{
    MakeDecoration(this);
}

void LineShape::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(QRectF(0, 0, width(), 1), palette().color(QPalette::WindowText));
}

void TitledFrame::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QFontMetrics metrics(font());
    const QRect border = rect().adjusted(0, metrics.height() / 2, -1, -1);
    // An etched line: a shadow with a highlight just inside it.
    DrawOutline(p, border, palette().color(QPalette::Dark));
    DrawOutline(p, border.translated(1, 1), palette().color(QPalette::Light));
    const QRect titleArea(6, 0, metrics.horizontalAdvance(title()) + 6, metrics.height());
    p.fillRect(titleArea, palette().window());
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(titleArea, Qt::AlignCenter, title());
}

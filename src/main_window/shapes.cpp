#include "shapes.h"

#include <QPainter>

namespace {

// Shapes are decoration: they never take the mouse or the focus.
void MakeDecoration(QWidget* shape)
{
    shape->setAttribute(Qt::WA_TransparentForMouseEvents);
    shape->setFocusPolicy(Qt::NoFocus);
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
    p.setPen(Qt::black);
    p.setBrush(fill_);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

OutlineShape::OutlineShape(QWidget* parent) : QWidget(parent)
{
    MakeDecoration(this);
}

void OutlineShape::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

LineShape::LineShape(QWidget* parent) : QWidget(parent)
{
    MakeDecoration(this);
}

void LineShape::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawLine(0, 0, width(), 0);
}

void TitledFrame::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QFontMetrics metrics(font());
    const QRect border = rect().adjusted(0, metrics.height() / 2, -2, -2);
    // An etched line: a shadow with a highlight just inside it.
    p.setPen(palette().color(QPalette::Dark));
    p.drawRect(border);
    p.setPen(palette().color(QPalette::Light));
    p.drawRect(border.translated(1, 1));
    const QRect titleArea(6, 0, metrics.horizontalAdvance(title()) + 6, metrics.height());
    p.fillRect(titleArea, palette().window());
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(titleArea, Qt::AlignCenter, title());
}

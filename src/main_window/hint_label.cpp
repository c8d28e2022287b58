#include "hint_label.h"

#include <QPainter>
#include <QTextLayout>

void HintLabel::paintEvent(QPaintEvent*)
{
    const QFontMetricsF metrics(font());
    // One em plus a little: the glyphs of a Japanese face fill about one em, and the
    // face's own line spacing adds nearly half an em more.
    const qreal em = metrics.horizontalAdvance(QChar(0x3042)); // あ
    const qreal spacing = em * 1.05;
    QTextLayout layout(text(), font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    // Put the first line's glyph tops at the label's top edge.
    qreal y = em * 0.88 - metrics.ascent();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width());
        line.setPosition(QPointF(0, y));
        y += spacing;
    }
    layout.endLayout();
    QPainter painter(this);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    layout.draw(&painter, QPointF(0, 0));
}

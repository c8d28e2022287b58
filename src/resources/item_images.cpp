#include "item_images.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QPixmap Canvas(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QPixmap Folder()
{
    QPixmap pixmap = Canvas(16);
    QPainter p(&pixmap);
    p.setPen(QColor(128, 128, 0));
    p.setBrush(QColor(255, 255, 0));
    p.drawRect(1, 3, 6, 2);  // tab
    p.drawRect(1, 4, 13, 9); // body
    p.setPen(QColor(255, 255, 255));
    p.drawLine(2, 6, 13, 6); // rim highlight
    return pixmap;
}

QPixmap Sheet()
{
    QPixmap pixmap = Canvas(16);
    QPainter p(&pixmap);
    QPainterPath outline;
    outline.moveTo(3, 1);
    outline.lineTo(10, 1);
    outline.lineTo(13, 4);
    outline.lineTo(13, 14);
    outline.lineTo(3, 14);
    outline.closeSubpath();
    p.setPen(QColor(0, 0, 0));
    p.setBrush(Qt::white);
    p.drawPath(outline);
    p.setBrush(QColor(192, 192, 192));
    p.drawPolygon(QPolygon({QPoint(10, 1), QPoint(10, 4), QPoint(13, 4)})); // folded corner
    p.setPen(QColor(128, 128, 128));
    for (int y = 6; y <= 12; y += 2)
        p.drawLine(5, y, 11, y);
    return pixmap;
}

// The window icons are drawn on a grid of 32 units, whatever size they are painted at.
QPixmap OnGrid32(int size, void (*draw)(QPainter&))
{
    QPixmap pixmap = Canvas(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    draw(p);
    return pixmap;
}

void Strongbox(QPainter& p)
{
    p.setPen(QPen(QColor(64, 32, 0), 1.5));
    p.setBrush(QColor(128, 64, 0));
    p.drawRoundedRect(QRectF(3, 9, 26, 19), 3, 3);
    p.setBrush(QColor(160, 82, 12));
    p.drawRoundedRect(QRectF(3, 5, 26, 8), 3, 3); // lid
    p.setPen(QPen(QColor(128, 96, 0), 1.2));
    p.setBrush(QColor(255, 204, 0));
    p.drawRect(QRectF(12.5, 11, 7, 9)); // lock plate
    p.setBrush(QColor(64, 32, 0));
    p.drawEllipse(QPointF(16, 14.5), 1.5, 1.5);
    p.drawRect(QRectF(15.4, 15, 1.2, 3));
}

void SortList(QPainter& p)
{
    p.setPen(QPen(QColor(0, 0, 0), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2, 3, 18, 26));
    p.setPen(QPen(QColor(0, 0, 128), 2));
    for (int y = 8; y <= 24; y += 5)
        p.drawLine(QPointF(5, y), QPointF(17, y));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 128, 0));
    p.drawPolygon(QPolygonF({QPointF(26, 2), QPointF(31, 10), QPointF(21, 10)}));
    p.drawRect(QRectF(24.5, 10, 3, 5));
    p.drawPolygon(QPolygonF({QPointF(26, 30), QPointF(31, 22), QPointF(21, 22)}));
    p.drawRect(QRectF(24.5, 17, 3, 5));
}

QIcon TwoSizes(void (*draw)(QPainter&))
{
    QIcon icon;
    icon.addPixmap(OnGrid32(16, draw));
    icon.addPixmap(OnGrid32(32, draw));
    return icon;
}

} // namespace

namespace ItemImages {

QIcon Icon(ItemImage image)
{
    static const QIcon folder(Folder());
    static const QIcon sheet(Sheet());
    return image == ItemImage::Folder ? folder : sheet;
}

} // namespace ItemImages

namespace WindowIcons {

QIcon Main()
{
    return TwoSizes(Strongbox);
}

QIcon Sort()
{
    return TwoSizes(SortList);
}

} // namespace WindowIcons

#pragma once

#include <QFont>
#include <QStringList>

// The faces the layout was drawn with, each followed by what this desktop likely has.
namespace Fonts {

inline QFont Face(const QStringList& families, double points)
{
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(points);
    font.setWeight(QFont::Normal);
    return font;
}

inline QFont Gothic(double points)
{
    // Windows without MS PGothic (it is an optional feature outside Japan) has Meiryo or
    // Yu Gothic; Linux has Noto.
    return Face({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                 QStringLiteral("Meiryo"), QStringLiteral("Yu Gothic"),
                 QStringLiteral("Noto Sans CJK JP")},
                points);
}

inline QFont Tahoma(double points)
{
    return Face({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")}, points);
}

} // namespace Fonts

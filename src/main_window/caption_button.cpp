#include "caption_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

void StackedCaptionButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    QString stacked;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        stacked += caption[i];
        const bool accessMark = caption[i] == u'&';
        if (!accessMark && i + 1 < caption.size())
            stacked += u'\n';
    }
    const int flags = Qt::AlignCenter | Qt::TextShowMnemonic;
    painter.drawItemText(rect(), flags, option.palette, isEnabled(), stacked, QPalette::ButtonText);
}

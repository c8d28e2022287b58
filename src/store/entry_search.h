#pragma once

#include "entry.h"

#include <QList>
#include <QString>

// Finding entries by a few typed characters, however they were typed: full or half width,
// upper or lower case, hiragana or katakana.
namespace EntrySearch {

// `text` as it is compared: NFKC with case folding, hiragana as katakana.
QString Fold(const QString& text);

// One entry found, with the heading it stands under.
struct Hit {
    int position = 0; // 1-based, as in the title selector
    QString title;
    QString heading; // the nearest group entry's title above it; empty for none, and for a
                     // group entry itself
};

// The entries of one table, folded once, so that each keystroke only compares.
class Index {
public:
    explicit Index(const Entries& table);

    // The entries whose title, ID or URL hold `query`, in table order; none for an empty
    // query. The PW is never searched.
    QList<Hit> Find(const QString& query) const;

private:
    struct Folded {
        QString title;
        QString id;
        QString url;
        Hit hit;
    };
    QList<Folded> rows_;
};

} // namespace EntrySearch

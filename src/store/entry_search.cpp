#include "entry_search.h"

namespace EntrySearch {

namespace {

// Hiragana that has a katakana twin at the same distance in Unicode: ぁ..ゖ and ゝ ゞ.
constexpr char16_t kKanaDistance = u'ァ' - u'ぁ';

bool HasKatakanaTwin(char16_t c)
{
    return (c >= u'ぁ' && c <= u'ゖ') || c == u'ゝ' || c == u'ゞ';
}

} // namespace

QString Fold(const QString& text)
{
    // NFKC turns half-width katakana and full-width letters into their usual forms (and
    // joins a half-width voicing mark to its kana); case folding then makes ABC abc.
    QString folded = text.normalized(QString::NormalizationForm_KC).toCaseFolded();
    for (QChar& c : folded) {
        if (HasKatakanaTwin(c.unicode()))
            c = QChar(char16_t(c.unicode() + kKanaDistance));
    }
    return folded;
}

Index::Index(const Entries& table)
{
    rows_.reserve(table.size());
    QString heading;
    for (int i = 0; i < table.size(); ++i) {
        const Entry& entry = table[i];
        const bool group = entry.IsGroup();
        if (group)
            heading = entry.title;
        rows_.append({Fold(entry.title),
                      Fold(entry.id),
                      Fold(entry.url),
                      {i + 1, entry.title, group ? QString() : heading}});
    }
}

QList<Hit> Index::Find(const QString& query) const
{
    QList<Hit> hits;
    const QString folded = Fold(query);
    if (folded.isEmpty())
        return hits;
    for (const Folded& row : rows_) {
        if (row.title.contains(folded) || row.id.contains(folded) || row.url.contains(folded))
            hits.append(row.hit);
    }
    return hits;
}

} // namespace EntrySearch

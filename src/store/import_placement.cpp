#include "import_placement.h"

#include <algorithm>
#include <vector>

namespace ImportPlacement {

namespace {

using Group = std::optional<QString>;
using CsvLayouts::Row;

// The table seen as groups: a heading and the entries up to the next one; the part before
// the first heading is the group of no heading.
class Groups {
public:
    explicit Groups(const Entries& table) : table_(table) {}

    // Index of the heading entry i stands under; -1 for none.
    qsizetype HeadingOf(qsizetype i) const
    {
        for (; i >= 0; --i)
            if (table_[i].IsGroup())
                return i;
        return -1;
    }
    // Index of the first heading titled `group`; -1 for no group. nullopt when there is none.
    std::optional<qsizetype> Find(const Group& group) const
    {
        if (!group)
            return -1;
        for (qsizetype i = 0; i < table_.size(); ++i)
            if (table_[i].IsGroup() && table_[i].title == *group)
                return i;
        return std::nullopt;
    }
    // Where the group of `heading` ends: the index of the next heading, or the table's end.
    qsizetype End(qsizetype heading) const
    {
        for (qsizetype i = heading + 1; i < table_.size(); ++i)
            if (table_[i].IsGroup())
                return i;
        return table_.size();
    }
    Group GroupAt(qsizetype heading) const
    {
        return heading < 0 ? Group() : Group(table_[heading].title);
    }

private:
    const Entries& table_;
};

// The rows that fit with the headings they bring, in file order.
QList<Row> Fitting(const Groups& groups, qsizetype room, const QList<Row>& rows,
                   QList<QString>& newGroups)
{
    QList<Row> taken;
    for (const Row& row : rows) {
        const bool opens = row.group && !groups.Find(row.group) && !newGroups.contains(*row.group);
        const qsizetype cost = opens ? 2 : 1;
        if (cost > room)
            break;
        room -= cost;
        if (opens)
            newGroups << *row.group;
        taken << row;
    }
    return taken;
}

} // namespace

Placed Place(const Entries& table, int k, const QList<Row>& rows)
{
    k = std::clamp(k, 0, int(table.size()));
    const Groups groups(table);
    QList<QString> newGroups;
    const QList<Row> taken = Fitting(groups, kEntryCapacity - table.size(), rows, newGroups);

    // What goes in before table entry b (b = size: at the end).
    std::vector<Entries> at(size_t(table.size()) + 1);
    const qsizetype ownHeading = k >= 1 ? groups.HeadingOf(k - 1) : -1;
    const Group own = groups.GroupAt(ownHeading);
    QList<Entries> newRows(newGroups.size());
    for (const Row& row : taken) {
        if (row.group == own)
            at[size_t(k)] << row.entry;
        else if (const auto heading = groups.Find(row.group))
            at[size_t(groups.End(*heading))] << row.entry;
        else
            newRows[newGroups.indexOf(*row.group)] << row.entry;
    }
    Entries& afterOwn = at[size_t(groups.End(ownHeading))];
    for (qsizetype g = 0; g < newGroups.size(); ++g)
        afterOwn << Entry{newGroups[g], {}, {}, {}} << newRows[g];

    Placed placed{.entries = {},
                  .taken = int(taken.size()),
                  .headings = int(newGroups.size()),
                  .left = int(rows.size() - taken.size())};
    for (qsizetype b = 0; b <= table.size(); ++b) {
        placed.entries << at[size_t(b)];
        if (b == table.size())
            break;
        placed.entries << table[b];
        if (b == k - 1)
            placed.selected = int(placed.entries.size());
    }
    return placed;
}

} // namespace ImportPlacement

#pragma once

#include "csv_layouts.h"
#include "entry.h"

#include <QList>

// Where imported rows go in the table. Each row joins its group: rows of the selected
// entry's own group come directly after it; rows of another group whose heading is in the
// table come at the end of that group; rows without a group at the end of the part before
// the first heading; each group not yet present gets a new heading, and goes with its rows
// after the selected entry's group, so that no entry already there changes its group.
// Rows keep their file order within a group.
namespace ImportPlacement {

struct Placed {
    Entries entries;  // the table with the rows in
    int selected = 0; // where the selected entry now stands; 0 for none
    int taken = 0;    // rows that came in
    int headings = 0; // new headings among them
    int left = 0;     // rows that did not fit
};

// The table never holds more than kEntryCapacity entries: the rows are taken in file order
// as long as they fit with their new headings, and the rest are left out.
Placed Place(const Entries& table, int k, const QList<CsvLayouts::Row>& rows);

} // namespace ImportPlacement

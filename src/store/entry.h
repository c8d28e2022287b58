#pragma once

#include <QList>
#include <QString>

// One log-in record of the user's list.
struct Entry {
    QString title;
    QString id;
    QString pw;
    QString url;

    // A group entry is a heading: its ID, PW and URL are all empty. The title does not count.
    bool IsGroup() const { return id.isEmpty() && pw.isEmpty() && url.isEmpty(); }

    friend bool operator==(const Entry&, const Entry&) = default;
};

// The whole of the user's data, in the user's own order.
using Entries = QList<Entry>;

// No file ever holds more entries than this.
inline constexpr int kEntryCapacity = 200;

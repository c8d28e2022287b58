#pragma once

#include "resources/item_image.h"

#include <QString>
#include <array>

// The whole of the user's data: up to 200 entries in the user's own order. Entry i
// (1 <= i <= DataCount) is slot i of each column; slot 0 and slots above DataCount
// belong to no entry.
struct EntryTable {
    static constexpr int kCapacity = 200;

    qint16 DataCount = 0;
    std::array<QString, kCapacity + 1> DataTitle;
    std::array<QString, kCapacity + 1> DataID;
    std::array<QString, kCapacity + 1> DataPW;
    std::array<QString, kCapacity + 1> DataURL;

    // A group entry is a heading: its ID, PW and URL are all empty. The title does not count.
    bool IsGroup(int i) const
    {
        return DataID[i].size() + DataPW[i].size() + DataURL[i].size() == 0;
    }
};

#pragma once

#include "store/data_file.h"
#include "store/data_session.h"
#include "store/data_folder.h"

#include <QDir>
#include <QStringList>

// The entries of save number `n` in a run of saves: their count and every text depend on
// n, so a file cut short or mixed from two saves never passes for a whole one.
inline Entries SaveState(int n)
{
    Entries entries;
    const int count = 1 + n % 40;
    for (int i = 1; i <= count; ++i) {
        Entry e;
        e.title = QStringLiteral("保存%1の項目%2").arg(n).arg(i);
        if (i % 7 != 1) { // a group entry now and then
            e.id = QStringLiteral("user-%1-%2").arg(n).arg(i);
            e.pw = QStringLiteral("pw-%1-%2-ﾊﾟｽ").arg(n).arg(i);
            e.url = QStringLiteral("https://example.jp/%1/%2").arg(n).arg(i);
        }
        entries.append(e);
    }
    return entries;
}

// The position save number `n` writes: its top carries n.
inline DataFile::Position SavePosition(int n)
{
    return {double(n), 0};
}

// The bytes save number `n` writes.
inline QByteArray SaveStateBytes(int n)
{
    return *DataFile::Format(SavePosition(n), SaveState(n));
}

// Every file in `dir` other than the data file and its backup: temporaries left behind.
inline QStringList StrayFiles(const QString& dir)
{
    QStringList stray = QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
    stray.removeAll(QStringLiteral("Cofferly.Dat"));
    stray.removeAll(QStringLiteral("Cofferly.bak"));
    return stray;
}

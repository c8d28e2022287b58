#pragma once

#include "store/data_file.h"
#include "store/load_save.h"

#include <QDir>
#include <QStringList>

// The window side of LoadData and SaveData, without a window.
class PlainHost : public DataHost {
public:
    explicit PlainHost(QString dir, DataFile::Position position = {1500, 3000})
        : position(position), dir_(std::move(dir))
    {
    }
    QString ProgramDirectory() const override { return dir_; }
    DataFile::Position WindowPosition() const override { return position; }
    void MoveWindow(DataFile::Position p) override { position = p; }
    void ClearTitles() override {}
    void AppendTitle(const QString&, ItemImage, int) override {}
    void SelectTitle(int) override {}

    DataFile::Position position;

private:
    QString dir_;
};

// The table of save number `n` in a run of saves: its size and every text depend on n, so
// a file cut short or mixed from two saves never passes for a whole one.
inline EntryTable SaveState(int n)
{
    EntryTable t;
    t.DataCount = static_cast<qint16>(1 + n % 40);
    for (int i = 1; i <= t.DataCount; ++i) {
        t.DataTitle[i] = QStringLiteral("保存%1の項目%2").arg(n).arg(i);
        if (i % 7 == 1)
            continue; // a group entry now and then
        t.DataID[i] = QStringLiteral("user-%1-%2").arg(n).arg(i);
        t.DataPW[i] = QStringLiteral("pw-%1-%2-ﾊﾟｽ").arg(n).arg(i);
        t.DataURL[i] = QStringLiteral("https://example.jp/%1/%2").arg(n).arg(i);
    }
    return t;
}

// The bytes save number `n` writes; the position carries n.
inline QByteArray SaveStateBytes(int n)
{
    return *DataFile::Format({double(n), 0}, SaveState(n));
}

// Every file in `dir` other than the data file and its backup: temporaries left behind.
inline QStringList StrayFiles(const QString& dir)
{
    QStringList stray = QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
    stray.removeAll(QStringLiteral("Cofferly.Dat"));
    stray.removeAll(QStringLiteral("Cofferly.bak"));
    return stray;
}

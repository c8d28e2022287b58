#pragma once

#include "data_file.h"
#include "entry_table.h"

#include <QSizeF>
#include <QString>
#include <optional>

// What LoadData and SaveData need of the main window. Positions and sizes are in twips.
class DataHost {
public:
    virtual ~DataHost() = default;
    virtual QString ProgramDirectory() const = 0;
    virtual DataFile::Position WindowPosition() const = 0;
    virtual void MoveWindow(DataFile::Position position) = 0;
    virtual void ClearTitles() = 0;
    virtual void AppendTitle(const QString& text, ItemImage image, int indent) = 0;
    virtual void SelectTitle(int index) = 0;
};

// A file operation that failed: the file concerned and the system's reason.
struct StoreError {
    enum class Kind { Read, Write };
    Kind kind;
    QString path;
    QString reason;
};

// The program directory with exactly one "/" after it.
QString AppDir(const QString& programDirectory);

// Reads the data file into `table` (creating the default file first when there is none),
// moves the window to the stored position and refills the title selector with item 1
// selected. A file that cannot be read whole is reported and nothing is changed on disk.
std::optional<StoreError> LoadData(EntryTable& table, DataHost& host);

// Copies the data file to the backup, then rewrites the data file from the window's
// position and the table. Either both files take their new contents, or neither changes.
std::optional<StoreError> SaveData(const EntryTable& table, DataHost& host);

// Writes a data file of sample entries into a folder, for the start-up measurements.
//
//   cofferly_sample_data FOLDER [COUNT]
#include "sample_entries.h"
#include "store/data_file.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [COUNT]\n", argv[0]);
        return 2;
    }
    const int count = argc > 2 ? std::clamp(std::atoi(argv[2]), 0, kEntryCapacity) : kEntryCapacity;
    const auto bytes = DataFile::Format({1500, 3000}, SampleEntries(count));
    QFile file(QString::fromLocal8Bit(argv[1]) + QStringLiteral("/Cofferly.Dat"));
    if (!bytes || !file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size())
        return 1;
    return 0;
}

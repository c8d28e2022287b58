// Times the CSV export and import of a full table through the window's menu handlers.
//
// Export: 書き出し of 200 entries (180 entries under 20 headings) in either layout, after the
// warning's はい, to the file the dialog gives: the file formatted and written atomically,
// flushed. Import: 読み込み of that KeePassXC file into a new program folder whose data file
// holds no entry: the file read and checked, the 180 rows and 20 new headings placed, one
// save with its backup, and the title selector refilled. Dialogs are answered at once.
//
//   cofferly_csv_bench [RUNS]
//   prints one line a measure: NAME MEDIAN_MS MIN_MS RUNS
#include "figures.h"
#include "main_window/fm_cofferly.h"
#include "sample_entries.h"
#include "start_up.h"
#include "store/csv_layouts.h"
#include "store/data_file.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSaveFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <deque>
#include <vector>

namespace {

// Says はい to every question and gives the queued file to every file dialog.
class QuietDesktop : public Desktop {
public:
    MessageRequest::Answer Show(QWidget*, const MessageRequest& message) override
    {
        if (message.buttons == MessageRequest::Buttons::YesNo)
            return MessageRequest::Answer::Yes;
        if (message.icon != QMessageBox::Information)
            qFatal("unexpected message: %s", qPrintable(message.text));
        return MessageRequest::Answer::Ok;
    }
    FileChoice ChooseFile(QWidget*, const QString&, const QStringList&, bool) override
    {
        return file;
    }
    void EndProgram(int) override { qFatal("the program ended"); }

    FileChoice file;
};

void Report(const char* name, const std::vector<double>& ms)
{
    std::printf("%s %.3f %.3f %zu\n", name, Median(ms), *std::min_element(ms.begin(), ms.end()),
                ms.size());
}

void WriteDataFile(const QString& folder, const Entries& entries)
{
    const auto bytes = DataFile::Format({1500, 3000}, entries);
    QSaveFile file(folder + QStringLiteral("/Cofferly.Dat"));
    if (!bytes || !file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size() ||
        !file.commit())
        qFatal("cannot write a data file in %s", qPrintable(folder));
}

// 200 entries with every heading's title its own, so that an import brings them all back.
Entries FullTable()
{
    Entries entries = SampleEntries(kEntryCapacity);
    for (qsizetype i = 0; i < entries.size(); ++i)
        if (entries[i].IsGroup())
            entries[i].title += QStringLiteral(" %1").arg(i / 10 + 1);
    return entries;
}

double TimeMs(const std::function<void()>& step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

std::vector<double> Exports(QuietDesktop& desktop, Fm_Cofferly& window, const QString& path,
                            int filter, int runs)
{
    desktop.file = {path, filter};
    std::vector<double> ms;
    for (int run = -3; run < runs; ++run) {
        const double t = TimeMs([&window] { window.menu_Export_Click(); });
        if (run >= 0)
            ms.push_back(t);
    }
    return ms;
}

std::vector<double> Imports(QuietDesktop& desktop, const QTemporaryDir& root, const QString& path,
                            int runs)
{
    desktop.file = {path, 0};
    std::vector<double> ms;
    for (int run = -3; run < runs; ++run) {
        const QString folder = root.filePath(QStringLiteral("import%1").arg(run + 3));
        QDir().mkpath(folder);
        WriteDataFile(folder, {});
        auto session = OpenSession(desktop, folder);
        if (!session)
            qFatal("the empty data file does not open");
        Fm_Cofferly window(*session, desktop);
        const double t = TimeMs([&window] { window.menu_Import_Click(); });
        if (window.Table().size() != kEntryCapacity)
            qFatal("the import brought %lld entries",
                   static_cast<long long>(window.Table().size()));
        if (run >= 0)
            ms.push_back(t);
    }
    return ms;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 51;

    QTemporaryDir root;
    const QString program = root.filePath(QStringLiteral("program"));
    QDir().mkpath(program);
    WriteDataFile(program, FullTable());
    QuietDesktop desktop;
    auto session = OpenSession(desktop, program);
    if (!session)
        qFatal("the sample data file does not open");
    Fm_Cofferly window(*session, desktop);

    const QString keePass = root.filePath(QStringLiteral("keepassxc.csv"));
    const QString bitwarden = root.filePath(QStringLiteral("bitwarden.csv"));
    Report("export_keepassxc", Exports(desktop, window, keePass, 0, runs));
    Report("export_bitwarden", Exports(desktop, window, bitwarden, 1, runs));
    Report("import_keepassxc", Imports(desktop, root, keePass, runs));
    return 0;
}

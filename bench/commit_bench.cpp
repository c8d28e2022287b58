// Times the main window's commit with a full data file, and the floor it is held against.
//
// A commit is Bt_OK_Click(0) after Bt_Edit_Click or Bt_Add_Click: the table is changed,
// the data session's SaveData writes the backup and the data file, and the window's
// LoadData refills the title selector from the session. The floor is the least any commit
// must do: the same two files' bytes (the backup, then the new data file) each written
// atomically with QSaveFile, in a folder beside the program's on the same file system, and
// that folder flushed so that the renames outlast a power cut. Commits and floors take turns.
//
// With "encrypted", the session turns encryption on first: the commits seal the data file
// with the key kept from then (no key derivation), and the floor writes the sealed bytes.
//
//   cofferly_commit_bench [RUNS] [encrypted]
//   prints one line a kind of commit: NAME MEDIAN_MS FLOOR_MEDIAN_MS
#include "figures.h"
#include "main_window/fm_cofferly.h"
#include "sample_entries.h"
#include "start_up.h"
#include "store/data_file.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

// Answers every question with Yes (the deletes between adds) and stays silent otherwise.
class QuietDesktop : public Desktop {
public:
    void Beep() override { ++complaints; }
    MessageRequest::Answer Show(QWidget*, const MessageRequest& message) override
    {
        if (message.buttons == MessageRequest::Buttons::YesNo)
            return MessageRequest::Answer::Yes;
        ++complaints;
        std::fprintf(stderr, "unexpected message: %s\n", qPrintable(message.text));
        return MessageRequest::Answer::Ok;
    }
    void OpenDocument(const QString&) override {}
    void EndProgram(int) override { ++complaints; }

    int complaints = 0;
};

QtMessageHandler defaultHandler = nullptr;

// The offscreen platform cannot pass size hints on; it says so at every change of height.
void DropSizeHintNotices(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtWarningMsg && text.contains(QStringLiteral("propagateSizeHints")))
        return;
    defaultHandler(type, context, text);
}

double MsOf(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

void WriteAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        qFatal("cannot write %s", qPrintable(path));
}

struct Bench {
    QString programDir;
    QString floorDir;
    QString backupName = QStringLiteral("Cofferly.bak");
    QString dataName = QStringLiteral("Cofferly.Dat");
    Fm_Cofferly* window;
    std::vector<double> commits;
    std::vector<double> floors;
    QByteArray backup; // what the last commit wrote
    QByteArray data;

    // One commit and one floor. Every other time the floor goes first (with the bytes of
    // the commit before), so that neither always follows the other's disk flushes.
    void Commit(int run)
    {
        const bool floorFirst = run % 2 != 0 && !data.isEmpty();
        if (floorFirst)
            TimeFloor();
        TimeCommit();
        backup = ReadFile(programDir + u'/' + backupName);
        data = ReadFile(programDir + u'/' + dataName);
        if (!floorFirst)
            TimeFloor();
    }

    void TimeFloor()
    {
        QElapsedTimer timer;
        timer.start();
        WriteAtomically(floorDir + QStringLiteral("/Cofferly.bak"), backup);
        WriteAtomically(floorDir + QStringLiteral("/Cofferly.Dat"), data);
        const int folder = ::open(QFile::encodeName(floorDir).constData(), O_RDONLY | O_DIRECTORY);
        if (folder < 0 || ::fsync(folder) != 0)
            qFatal("cannot flush the floor's folder");
        ::close(folder);
        floors.push_back(MsOf(timer));
    }

    void TimeCommit()
    {
        QElapsedTimer timer;
        timer.start();
        window->Bt_OK_Click(0);
        commits.push_back(MsOf(timer));
        QCoreApplication::processEvents(); // repaint, as between two clicks of a user
        if (window->Ended())
            qFatal("the commit failed");
    }

    void Clear()
    {
        commits.clear();
        floors.clear();
    }
};

void Edit(Bench& b, int k, int run)
{
    Fm_Cofferly& w = *b.window;
    w.Controls().IComboTitle->SelectItem(k);
    w.Bt_Edit_Click();
    w.Controls().Tx_Data[3]->setText(w.Controls().Tx_Data[3]->text().section(u'#', 0, 0) +
                                     QStringLiteral("#r%1").arg(run));
    b.Commit(run);
}

void AddThenDelete(Bench& b, int k, int run)
{
    Fm_Cofferly& w = *b.window;
    w.Controls().IComboTitle->SelectItem(k);
    w.Bt_Add_Click();
    w.Controls().Tx_Data[0]->setText(QStringLiteral("新しいサイト %1").arg(run));
    w.Controls().Tx_Data[1]->setText(QStringLiteral("new.user%1@example.ne.jp").arg(run));
    w.Controls().Tx_Data[2]->setText(QStringLiteral("Qw3e-%1-Rt5y-Ui7o").arg(run));
    w.Controls().Tx_Data[3]->setText(
        QStringLiteral("https://new.example.jp/login?from=%1").arg(run));
    b.Commit(run);
    // Back to 199 entries, untimed.
    w.Controls().IComboTitle->SelectItem(k + 1);
    w.Bt_Del_Click();
    QCoreApplication::processEvents();
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    defaultHandler = qInstallMessageHandler(DropSizeHintNotices);
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 51;
    const bool encrypted = argc > 2 && QByteArray(argv[2]) == "encrypted";

    QTemporaryDir root;
    Bench b;
    b.programDir = root.filePath(QStringLiteral("program"));
    b.floorDir = root.filePath(QStringLiteral("floor"));
    QDir().mkpath(b.programDir);
    QDir().mkpath(b.floorDir);
    const auto bytes = DataFile::Format({1500, 3000}, SampleEntries(kEntryCapacity));
    if (!bytes)
        qFatal("the sample entries cannot be stored");
    QSaveFile file(b.programDir + QStringLiteral("/Cofferly.Dat"));
    if (!file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size() || !file.commit())
        qFatal("cannot write the sample data file");

    QuietDesktop desktop;
    auto session = OpenSession(desktop, b.programDir);
    if (!session)
        qFatal("the sample data file does not open");
    if (encrypted) {
        if (!std::holds_alternative<QStringList>(
                session->TurnOnEncryption(QStringLiteral("correct horse battery staple"))))
            qFatal("encryption did not turn on");
        b.backupName = QStringLiteral("Cofferly.Enc.bak");
        b.dataName = QStringLiteral("Cofferly.Enc");
    }
    Fm_Cofferly window(*session, desktop);
    b.window = &window;
    window.show();
    QCoreApplication::processEvents();

    // Edits with the table full; the first few runs only warm up.
    for (int run = -3; run < runs; ++run) {
        if (run == 0)
            b.Clear();
        Edit(b, 2 + (run + 3) * 37 % 198, run);
    }
    std::printf("edit %.3f %.3f %zu\n", Median(b.commits), Median(b.floors), b.commits.size());

    // Adds that bring 199 entries to 200, each taken back again by an untimed delete.
    b.window->Controls().IComboTitle->SelectItem(kEntryCapacity);
    b.window->Bt_Del_Click();
    b.Clear();
    for (int run = -3; run < runs; ++run) {
        if (run == 0)
            b.Clear();
        AddThenDelete(b, 1 + (run + 3) * 37 % 198, run);
    }
    std::printf("add %.3f %.3f %zu\n", Median(b.commits), Median(b.floors), b.commits.size());
    if (window.Table().size() != kEntryCapacity - 1 || desktop.complaints)
        qFatal("the window did not do what the benchmark expected");
    return 0;
}

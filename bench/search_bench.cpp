// Times the search over a full table: opening the search window (the table folded once),
// and each keystroke typed into it, both the matching alone and the whole keystroke with
// the list refilled. Each typed text is entered one character at a time, as a user types.
//
//   cofferly_search_bench [RUNS]
//   prints: open MEDIAN_MS, then for find and keystroke: NAME MEDIAN_MS MAX_MS COUNT
#include "figures.h"
#include "main_window/search_box.h"
#include "sample_entries.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Typed texts: one every entry holds (the longest list), a Japanese title in half-width
// kana with its voicing marks typed apart, and an ID typed until it names one entry.
const QStringList kTyped = {QStringLiteral("example"), QStringLiteral("ﾌﾟﾛﾊﾞｲﾀﾞ"),
                            QStringLiteral("user.name137")};

double MsOf(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

void Print(const char* name, const std::vector<double>& v)
{
    std::printf("%s %.4f %.4f %zu\n", name, Median(v), *std::max_element(v.begin(), v.end()),
                v.size());
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 51;
    const Entries table = SampleEntries(kEntryCapacity);

    std::vector<double> opens, finds, keystrokes;
    for (int run = -3; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        SearchBox box(table, nullptr);
        const double open = MsOf(timer);
        const EntrySearch::Index index(table);
        for (const QString& text : kTyped) {
            box.Text()->clear();
            for (qsizetype i = 1; i <= text.size(); ++i) {
                timer.restart();
                const qsizetype hits = index.Find(text.left(i)).size();
                const double find = MsOf(timer);
                timer.restart();
                box.Text()->insert(text.mid(i - 1, 1));
                const double keystroke = MsOf(timer);
                if (i == text.size() && hits == 0)
                    qFatal("the sample entries hold no %s", qPrintable(text));
                if (run >= 0) {
                    finds.push_back(find);
                    keystrokes.push_back(keystroke);
                }
            }
        }
        if (run >= 0)
            opens.push_back(open);
    }
    Print("open", opens);
    Print("find", finds);
    Print("keystroke", keystrokes);
    return 0;
}

// Finding entries however their texts were typed, new passwords and their strength, and
// both windows driven from the main window's keys.
#include "main_window/generator_dialog.h"
#include "main_window/search_box.h"
#include "store/data_file.h"
#include "store/entry_search.h"
#include "store/password_generator.h"
#include "support/window_driver.h"

#include <QTreeWidget>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using Options = PasswordGenerator::Options;
using Band = PasswordGenerator::Band;
using WindowDriver::Displayed;

Q_DECLARE_METATYPE(Options)
Q_DECLARE_METATYPE(Band)

namespace {

const QList<QStringList> kEntries = {
    {u"Note"_s, u"memo-id"_s, {}, {}},
    {u"■ 連絡"_s, {}, {}, {}},
    {u"メール"_s, u"taro@example.jp"_s, u"ｶﾀｶﾅpw"_s, u"https://mail.example.jp/"_s},
    {u"カタカナ辞書"_s, u"ＡＢＣ"_s, u"secret"_s, {}},
    {u"■ 仕事"_s, {}, {}, {}},
    {u"ABC Bank"_s, u"hanako"_s, u"めーる"_s, u"https://bank.example.com/"_s},
    {u"メールマガジン"_s, u"Ｔａｒｏ"_s, u"x"_s, u"https://portal.example.com/"_s}};

// The hits as "position(heading)", in order.
QString Found(const QString& query)
{
    QStringList found;
    for (const EntrySearch::Hit& hit :
         EntrySearch::Index(TestFiles::FromLists(kEntries)).Find(query))
        found << u"%1(%2)"_s.arg(hit.position).arg(hit.heading);
    return found.join(u", "_s);
}

// Ctrl+F with entry 4 shown; `act` works the search box.
void Search(Fm_Cofferly& w, std::function<void(SearchBox*)> act)
{
    QVERIFY(WindowDriver::ShowActive(w));
    WindowDriver::Pick(w, 4);
    ActOnModal<SearchBox> search(std::move(act));
    QTest::keyClick(&w, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(search.Acted());
}

} // namespace

class TestSearchAndGenerator : public QObject {
    Q_OBJECT
private slots:
    void matching_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("found");
        auto row = [](const char* name, const char16_t* query, const char16_t* found) {
            QTest::newRow(name) << QString::fromUtf16(query) << QString::fromUtf16(found);
        };
        row("half-width kana", u"ｶﾀｶﾅ", u"4(■ 連絡)");
        row("half-width with a long vowel", u"ﾒｰﾙ", u"3(■ 連絡), 7(■ 仕事)");
        row("hiragana", u"めーる", u"3(■ 連絡), 7(■ 仕事)");
        row("full-width letters", u"ＡＢＣ", u"4(■ 連絡), 6(■ 仕事)");
        row("case", u"abc bANK", u"6(■ 仕事)");
        row("full-width ID, either case", u"TARO", u"3(■ 連絡), 7(■ 仕事)");
        row("URL", u"portal.EXAMPLE", u"7(■ 仕事)");
        row("before the first heading", u"memo", u"1()");
        row("a heading itself", u"連絡", u"2()");
        row("never the PW", u"secret", u"");
        row("never the PW, folded", u"pw", u"");
        row("empty", u"", u"");
    }

    void matching()
    {
        QFETCH(QString, query);
        QTEST(Found(query), "found");
    }

    void passwords_data()
    {
        QTest::addColumn<Options>("options");
        QTest::addColumn<int>("alphabet");
        QTest::addColumn<int>("bits");
        QTest::addColumn<Band>("band");
        using enum Band;
        auto row = [](const char* name, Options o, int alphabet, int bits, Band band) {
            QTest::newRow(name) << o << alphabet << bits << band;
        };
        row("defaults", {}, 92, 104, VeryStrong);
        row("shortest", {.length = 8}, 92, 52, Fair);
        row("too short", {.length = 3}, 92, 52, Fair);
        row("longest, grouped", {.length = 64, .groupSize = 5}, 92, 418, VeryStrong);
        row("no look-alikes", {.noLookAlikes = true}, 87, 103, VeryStrong);
        row("digits, no look-alikes",
            {.upper = false, .lower = false, .symbols = false, .noLookAlikes = true}, 8, 48, Fair);
        row("letters in groups", {.length = 12, .digits = false, .symbols = false, .groupSize = 4},
            52, 68, Strong);
        row("digits, 8", {.length = 8, .upper = false, .lower = false, .symbols = false}, 10, 27,
            Weak);
        row("no class", {.upper = false, .lower = false, .digits = false, .symbols = false}, 0, 0,
            Weak);
    }

    // Over many draws: the length, every chosen class and nothing else, a "-" only after
    // each group, and only what the data file holds as it is.
    void passwords()
    {
        QFETCH(Options, options);
        const QString alphabet = PasswordGenerator::Alphabet(options);
        QTEST(int(alphabet.size()), "alphabet");
        QTEST(qRound(PasswordGenerator::StrengthBits(options)), "bits");
        QTEST(PasswordGenerator::BandOf(PasswordGenerator::StrengthBits(options)), "band");
        const QString classes[] = {u"ABCDEFGHIJKLMNOPQRSTUVWXYZ"_s, u"abcdefghijklmnopqrstuvwxyz"_s,
                                   u"0123456789"_s, u"!#$%&'()*+,./:;<=>?@[\\]^_`{|}~"_s};
        const bool chosen[] = {options.upper, options.lower, options.digits, options.symbols};
        const int step = options.groupSize + 1;
        QSet<QString> drawn;
        QSet<QChar> seen;
        for (int draw = 0; draw < 400 && !alphabet.isEmpty(); ++draw) {
            const QString pw = PasswordGenerator::Make(options);
            QVERIFY2(!DataFile::FirstUnstorable(pw) && !pw.endsWith(u'-'), qPrintable(pw));
            for (qsizetype i = 0; i < pw.size(); ++i)
                QCOMPARE(pw[i] == u'-', step > 1 && (i + 1) % step == 0);
            const QString run = QString(pw).remove(u'-');
            QCOMPARE(run.size(), std::clamp(options.length, 8, 64));
            for (int c = 0; c < 4; ++c)
                QCOMPARE(std::any_of(run.begin(), run.end(),
                                     [&](QChar ch) { return classes[c].contains(ch); }),
                         chosen[c]);
            for (QChar ch : run) {
                QVERIFY2(alphabet.contains(ch) && ch > u' ' && ch < u'\x7f' && ch != u'"',
                         qPrintable(pw));
                QVERIFY(!options.noLookAlikes || !u"lI1O0"_s.contains(ch));
                seen.insert(ch);
            }
            drawn.insert(pw);
        }
        // Fresh each time, and drawn from the whole alphabet; nothing without a class.
        QCOMPARE(drawn.size(), alphabet.isEmpty() ? 0 : 400);
        QCOMPARE(seen.size(), alphabet.size());
        QCOMPARE(PasswordGenerator::Make(options).isEmpty(), alphabet.isEmpty());
    }

    // Ctrl+F, ﾒｰﾙ and Enter pick メール as the title selector would.
    void searchPicksByKeys()
    {
        MainWindowFixture f(kEntries);
        Search(*f.w, [](SearchBox* box) {
            QCOMPARE(QApplication::focusWidget(), box->Text());
            QVERIFY(box->Text()->inputMethodQuery(Qt::ImEnabled).toBool());
            WindowDriver::TypeText(box->Text(), u"ﾒｰﾙ"_s);
            QCOMPARE(box->Results()->topLevelItemCount(), 2);
            QCOMPARE(box->Results()->currentItem()->text(0), u"メール"_s);
            QCOMPARE(box->Results()->currentItem()->text(1), u"■ 連絡"_s);
            QTest::keyClick(box->Text(), Qt::Key_Return);
        });
        const auto& c = f.w->Controls();
        QCOMPARE(c.IComboTitle->SelectedIndex(), 3);
        QCOMPARE(Displayed(*f.w),
                 QStringList({kEntries[2][1], kEntries[2][2], kEntries[2][3], kEntries[2][3]}));
        QCOMPARE(f.w->focusWidget(), c.IComboTitle);
        VERIFY_BROWSING(*f.w);
    }

    // Down moves in the list; Esc leaves the selection and what is shown.
    void searchEscLeavesSelection()
    {
        MainWindowFixture f(kEntries);
        Search(*f.w, [](SearchBox* box) {
            WindowDriver::TypeText(box->Text(), u"めーる"_s);
            QTest::keyClick(box->Text(), Qt::Key_Down);
            QCOMPARE(box->Results()->currentItem()->text(0), u"メールマガジン"_s);
            QTest::keyClick(box->Text(), Qt::Key_Escape);
        });
        QCOMPARE(f.w->Controls().IComboTitle->SelectedIndex(), 4);
        QCOMPARE(Displayed(*f.w), QStringList({kEntries[3][1], kEntries[3][2], {}, {}}));
        QCOMPARE(f.dir.data(), f.before);
    }

    // Alt+A, Ctrl+G, Enter: a fresh password in the PW box. Before that: no generator while
    // browsing; an option draws a new password at once; Esc leaves the PW box as it was.
    void generatorFillsPwByKeys()
    {
        MainWindowFixture f(kEntries);
        auto [dir, desktop, w] = f.Parts();
        QVERIFY(WindowDriver::ShowActive(w));
        ActOnModal<GeneratorDialog> leave([](GeneratorDialog* generator) {
            const QString first = generator->Password();
            QTest::keyClick(generator, Qt::Key_G, Qt::AltModifier);
            QTRY_VERIFY(generator->Password().contains(u'-'));
            QVERIFY(generator->Password() != first);
            QCOMPARE(generator->Chosen(), (Options{.groupSize = 4}));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        });
        QTest::keyClick(&w, Qt::Key_G, Qt::ControlModifier);
        QVERIFY(!leave.Acted());
        QTest::keyClick(&w, Qt::Key_A, Qt::AltModifier);
        QTRY_COMPARE(w.CurrentMode(), Fm_Cofferly::Mode::Adding);
        WindowDriver::Type(w, {u"t"_s, {}, u"old"_s, {}});
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_G, Qt::ControlModifier);
        QVERIFY(leave.Acted());
        QCOMPARE(w.Controls().Tx_Data[2]->text(), u"old"_s);

        ActOnModal<GeneratorDialog> take(
            [](GeneratorDialog*) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); });
        // The offscreen platform gives the window back its activation only when asked.
        QVERIFY(WindowDriver::ShowActive(w));
        QTest::keyClick(w.focusWidget(), Qt::Key_G, Qt::ControlModifier);
        QVERIFY(take.Acted());
        const QString pw = w.Controls().Tx_Data[2]->text();
        QCOMPARE(pw.size(), 16);
        for (QChar c : pw)
            QVERIFY2(c > u' ' && c < u'\x7f' && c != u'"' && c != u'-', qPrintable(pw));
        QCOMPARE(WindowDriver::TextsInPanel(w), QStringList({u"t"_s, {}, pw, {}}));
        VERIFY_MODE(w, WindowDriver::kAdd);
    }
};

QTEST_MAIN(TestSearchAndGenerator)
#include "tst_search_and_generator.moc"

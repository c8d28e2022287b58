// Committing an add or an edit: where the entry goes, what is selected and shown, and the
// bytes of the data file and its backup afterwards.
#include "resources/texts.h"
#include "support/window_driver.h"

#include <QDir>
#include <QFileInfo>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using WindowDriver::Click;
using WindowDriver::Committed;
using WindowDriver::kAdd;
using WindowDriver::kEdit;
using WindowDriver::Pick;
using WindowDriver::Type;

class TestCommits : public QObject {
    Q_OBJECT
private slots:
    void addInsertsAfterTheSelectedEntry_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("selected");
        QTest::newRow("after the last") << 3 << 3;
        QTest::newRow("after entry 1 of 3") << 3 << 1;
        QTest::newRow("after the only one") << 1 << 1;
        QTest::newRow("199 to 200, at the end") << 199 << 199;
        QTest::newRow("199 to 200, in the middle") << 199 << 100;
    }

    void addInsertsAfterTheSelectedEntry()
    {
        QFETCH(int, count);
        QFETCH(int, selected);
        const auto entries = TestFiles::NumberedEntries(count);
        MainWindowFixture f(entries);
        auto [dir, desktop, w] = f.Parts();
        const QByteArray& before = f.before;
        Pick(w, selected);
        const QStringList shown = WindowDriver::Displayed(w);
        Click(w.Controls().Bt_Add);
        VERIFY_MODE(w, kAdd);
        QCOMPARE(WindowDriver::TextsInPanel(w), QStringList({{}, {}, {}, {}}));
        const QStringList added{u"新しい 見出し"_s, u" id "_s, u"p-w,x"_s,
                                u"https://例え.jp/?a=1,2"_s};
        Type(w, added);
        QCOMPARE(WindowDriver::TextsInPanel(w), added);
        Click(w.Controls().Bt_OK[0]);
        VERIFY_STORED(w, dir, Committed(entries, true, selected, added));
        QCOMPARE(dir.backup(), before);
        QCOMPARE(w.Controls().IComboTitle->SelectedIndex(), selected);
        QCOMPARE(w.Controls().IComboTitle->currentText(), entries[selected - 1][0]);
        QCOMPARE(WindowDriver::Displayed(w), shown);
        QCOMPARE(w.pos(), QPoint(200, 100));
        VERIFY_BROWSING(w);
        QVERIFY(desktop.messages.isEmpty());
    }

    // At 200 entries add is refused with a message, while edit still works.
    void fullTableRefusesAddButNotEdit()
    {
        auto entries = TestFiles::NumberedEntries(199);
        MainWindowFixture f(entries);
        auto [dir, desktop, w] = f.Parts();
        Click(w.Controls().Bt_Add);
        Type(w, {u"200th"_s, {}, {}, {}});
        Click(w.Controls().Bt_OK[0]);
        entries.insert(1, {u"200th"_s, {}, {}, {}});
        VERIFY_STORED(w, dir, entries);
        const QByteArray full = dir.data();
        const QByteArray backup = dir.backup();

        Click(w.Controls().Bt_Add);
        QCOMPARE(desktop.messages.size(), 1);
        const MessageRequest& m = desktop.messages[0];
        QCOMPARE(m.text, u"これ以上データを登録できません"_s);
        QCOMPARE(m.title, u"Cofferly"_s);
        QCOMPARE(m.buttons, MessageRequest::Buttons::Ok);
        QCOMPARE(m.icon, QMessageBox::NoIcon);
        VERIFY_BROWSING(w);
        QCOMPARE(dir.data(), full);
        QCOMPARE(dir.backup(), backup);
        QCOMPARE(w.Controls().Bt_OK[0]->text(), kAdd);

        Pick(w, 200);
        Click(w.Controls().Bt_Edit);
        VERIFY_MODE(w, kEdit);
        QCOMPARE(WindowDriver::TextsInPanel(w), entries[199]);
        Type(w, {u"Last"_s, u"i"_s, u"p"_s, u"u"_s});
        Click(w.Controls().Bt_OK[0]);
        entries[199] = {u"Last"_s, u"i"_s, u"p"_s, u"u"_s};
        VERIFY_STORED(w, dir, entries);
        QCOMPARE(dir.backup(), full);
        QCOMPARE(desktop.messages.size(), 1);
    }

    void allEmptyAddIsAGroupWithAnEmptyTitle()
    {
        const auto entries = TestFiles::NumberedEntries(2);
        MainWindowFixture f(entries);
        auto [dir, desktop, w] = f.Parts();
        Click(w.Controls().Bt_Add);
        Click(w.Controls().Bt_OK[0]);
        VERIFY_STORED(w, dir, Committed(entries, true, 1, {{}, {}, {}, {}}));
        QVERIFY(dir.data().contains("\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"Title 2\""));
        QCOMPARE(w.Controls().IComboTitle->Image(2), ItemImage::Folder);
        QCOMPARE(w.Controls().IComboTitle->Indent(2), 0);
    }

    // Editing fills the panel with the entry, replaces it, shows it and selects it again.
    void editIntoAGroupAndBack()
    {
        auto entries = TestFiles::NumberedEntries(3);
        MainWindowFixture f(entries);
        auto [dir, desktop, w] = f.Parts();
        Pick(w, 2);
        Click(w.Controls().Bt_Edit);
        VERIFY_MODE(w, kEdit);
        QCOMPARE(WindowDriver::TextsInPanel(w), entries[1]);
        Type(w, {u"Heading"_s, {}, {}, {}});
        Click(w.Controls().Bt_OK[0]);
        entries[1] = {u"Heading"_s, {}, {}, {}};
        VERIFY_STORED(w, dir, entries);
        QCOMPARE(w.Controls().IComboTitle->SelectedIndex(), 2);
        QCOMPARE(WindowDriver::Displayed(w), QStringList({{}, {}, {}, {}}));
        VERIFY_BROWSING(w);

        Click(w.Controls().Bt_Edit);
        QCOMPARE(WindowDriver::TextsInPanel(w), entries[1]);
        Type(w, {u"Heading"_s, {}, {}, u"https://x.example/ y"_s});
        Click(w.Controls().Bt_OK[0]);
        entries[1][3] = u"https://x.example/ y"_s;
        VERIFY_STORED(w, dir, entries);
        QCOMPARE(WindowDriver::Displayed(w),
                 QStringList({{}, {}, u"https://x.example/ y"_s, u"https://x.example/ y"_s}));
        QCOMPARE(w.Controls().IComboTitle->SelectedIndex(), 2);
    }

    // The backup changes only with the entries: an unchanged commit rewrites nothing it
    // need not, and leaves the backup as the last real change left it.
    void commitWithoutChangeLeavesTheBackup()
    {
        auto entries = TestFiles::NumberedEntries(2);
        MainWindowFixture f(entries);
        auto [dir, desktop, w] = f.Parts();
        const QByteArray first = WindowDriver::FileFor(w, entries);
        Click(w.Controls().Bt_Edit);
        Click(w.Controls().Bt_OK[0]);
        QCOMPARE(dir.data(), first);
        QVERIFY(!QFileInfo::exists(dir.backupPath()));
        Click(w.Controls().Bt_Edit);
        Type(w, {u"Changed"_s, u"id-1"_s, u"pw-1-x"_s, u"https://example.com/1"_s});
        Click(w.Controls().Bt_OK[0]);
        entries[0][0] = u"Changed"_s;
        const QByteArray second = WindowDriver::FileFor(w, entries);
        QCOMPARE(dir.data(), second);
        QCOMPARE(dir.backup(), first);
        Click(w.Controls().Bt_Edit);
        Click(w.Controls().Bt_OK[0]);
        QCOMPARE(dir.data(), second);
        QCOMPARE(dir.backup(), first);
        QVERIFY(desktop.messages.isEmpty());
    }

    // A data file another program changed after it was read is kept under a name of its
    // own, the user is told that name, and the backup takes the entries the window had.
    void fileChangedMeanwhileIsKeptUnderANameOfItsOwn()
    {
        auto entries = TestFiles::NumberedEntries(2);
        MainWindowFixture f(entries);
        auto [dir, desktop, w] = f.Parts();
        auto theirs = entries;
        theirs[1][2] = u"changed elsewhere"_s;
        const QByteArray other = TestFiles::Make(1500, 3000, theirs);
        dir.writeData(other);
        Click(w.Controls().Bt_Edit);
        Type(w, {u"Mine"_s, u"i"_s, u"p"_s, u"u"_s});
        Click(w.Controls().Bt_OK[0]);
        entries[0] = {u"Mine"_s, u"i"_s, u"p"_s, u"u"_s};
        VERIFY_STORED(w, dir, entries);
        QCOMPARE(dir.backup(), f.before);
        const QStringList kept = QDir(dir.path()).entryList({u"Cofferly.Dat.*"_s}, QDir::Files);
        QCOMPARE(kept.size(), 1);
        QCOMPARE(TestFiles::Read(dir.path() + u'/' + kept[0]), other);
        QCOMPARE(desktop.messages.size(), 1);
        const MessageRequest& m = desktop.messages[0];
        QCOMPARE(m.icon, QMessageBox::Information);
        QCOMPARE(m.text, Texts::OtherVersionKept.arg(
                             QDir::toNativeSeparators(dir.dataPath()),
                             QDir::toNativeSeparators(dir.path() + u'/' + kept[0])));
        // Now the file is the window's own again: the next unchanged commit says nothing.
        Click(w.Controls().Bt_Edit);
        Click(w.Controls().Bt_OK[0]);
        QCOMPARE(desktop.messages.size(), 1);
        QCOMPARE(dir.backup(), f.before);
    }

    // A close that writes nothing because another program replaced the file keeps the
    // window's own last save, which is on disk nowhere else, and names the file it is in.
    void closeKeepsItsOwnVersionWhenReplaced()
    {
        auto entries = TestFiles::NumberedEntries(2);
        MainWindowFixture f(entries);
        auto [dir, desktop, w] = f.Parts();
        Click(w.Controls().Bt_Add);
        Type(w, {u"added"_s, u"i"_s, u"p"_s, u"u"_s});
        Click(w.Controls().Bt_OK[0]);
        const QByteArray mine = dir.data();
        const QByteArray other = TestFiles::Make(1500, 3000, entries);
        dir.writeData(other);
        w.close();
        QCOMPARE(dir.data(), other);
        const QStringList kept = QDir(dir.path()).entryList({u"Cofferly.Dat.*"_s}, QDir::Files);
        QCOMPARE(kept.size(), 1);
        QCOMPARE(TestFiles::Read(dir.path() + u'/' + kept[0]), mine);
        QVERIFY(mine.contains("added"));
        QCOMPARE(desktop.messages.size(), 1);
        QCOMPARE(desktop.messages[0].text,
                 Texts::OwnVersionKept.arg(QDir::toNativeSeparators(dir.dataPath()),
                                           QDir::toNativeSeparators(dir.path() + u'/' + kept[0])));
    }

    // The mode decides whether a commit adds or replaces; the caption shown plays no part.
    void modeDecidesAddOrReplace_data()
    {
        QTest::addColumn<bool>("enterAdd");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("adds");
        QTest::newRow("add mode as entered") << true << kAdd << true;
        QTest::newRow("edit mode as entered") << false << kEdit << false;
        QTest::newRow("edit mode showing 追 加") << false << kAdd << false;
        QTest::newRow("add mode showing 確 定") << true << kEdit << true;
        QTest::newRow("add mode, no space") << true << u"追加"_s << true;
        QTest::newRow("add mode, ideographic space") << true << u"追\u3000加"_s << true;
        QTest::newRow("add mode, trailing space") << true << u"追 加 "_s << true;
    }

    void modeDecidesAddOrReplace()
    {
        QFETCH(bool, enterAdd);
        QFETCH(QString, caption);
        QFETCH(bool, adds);
        auto entries = TestFiles::NumberedEntries(3);
        MainWindowFixture f(entries);
        auto [dir, desktop, w] = f.Parts();
        Pick(w, 2);
        WindowDriver::EnterMode(w, enterAdd);
        QCOMPARE(w.CurrentMode(),
                 enterAdd ? Fm_Cofferly::Mode::Adding : Fm_Cofferly::Mode::Editing);
        w.Controls().Bt_OK[0]->setText(caption);
        const QStringList typed{u"New"_s, u"n"_s, u"p"_s, u"u"_s};
        Type(w, typed);
        Click(w.Controls().Bt_OK[0]);
        VERIFY_STORED(w, dir, Committed(entries, adds, 2, typed));
        QCOMPARE(w.Controls().IComboTitle->SelectedIndex(), 2);
    }

    // At 200 entries an edit showing the add caption replaces its entry: no 201st entry, and
    // no refusal.
    void addCaptionAtAFullTableStillEdits()
    {
        const auto entries = TestFiles::NumberedEntries(200);
        MainWindowFixture f(entries);
        auto [dir, desktop, w] = f.Parts();
        const QByteArray& before = f.before;
        Pick(w, 200);
        Click(w.Controls().Bt_Edit);
        w.Controls().Bt_OK[0]->setText(kAdd);
        const QStringList typed{u"201st"_s, u"i"_s, u"p"_s, u"u"_s};
        Type(w, typed);
        Click(w.Controls().Bt_OK[0]);
        QVERIFY(desktop.messages.isEmpty());
        VERIFY_BROWSING(w);
        auto edited = entries;
        edited[199] = typed;
        VERIFY_STORED(w, dir, edited);
        QCOMPARE(dir.backup(), before);
        QCOMPARE(w.Controls().IComboTitle->SelectedIndex(), 200);
    }

    // A table with no entries: add makes entry 1; edit and delete only beep.
    void emptyTable()
    {
        MainWindowFixture f(QByteArray("1500,3000\r\n"));
        auto [dir, desktop, w] = f.Parts();
        const QByteArray& empty = f.before;
        Click(w.Controls().Bt_Edit);
        Click(w.Controls().Bt_Del);
        QCOMPARE(desktop.beeps, 2);
        QVERIFY(desktop.messages.isEmpty());
        VERIFY_BROWSING(w);
        QCOMPARE(dir.data(), empty);
        QVERIFY(!QFileInfo::exists(dir.backupPath()));

        Click(w.Controls().Bt_Add);
        VERIFY_MODE(w, kAdd);
        Type(w, {u"First"_s, u"i"_s, u"p"_s, u"u"_s});
        Click(w.Controls().Bt_OK[0]);
        VERIFY_STORED(w, dir, QList<QStringList>{{u"First"_s, u"i"_s, u"p"_s, u"u"_s}});
        QCOMPARE(dir.backup(), empty);
        QCOMPARE(w.Controls().IComboTitle->SelectedIndex(), 1);
        // Nothing was shown before; the display shows the entry now selected.
        QCOMPARE(WindowDriver::Displayed(w), QStringList({u"i"_s, u"p"_s, u"u"_s, u"u"_s}));
        VERIFY_BROWSING(w);
    }

    // Texts of any length go into the panel and come back out whole.
    void longTextsSurviveAnEdit()
    {
        const QStringList entry{u"T"_s, QString(40000, u'i'), QString(33000, u'p'), u"u"_s};
        MainWindowFixture f({entry});
        auto [dir, desktop, w] = f.Parts();
        const QByteArray& before = f.before;
        Click(w.Controls().Bt_Edit);
        QCOMPARE(WindowDriver::TextsInPanel(w), entry);
        Click(w.Controls().Bt_OK[0]);
        QCOMPARE(dir.data(), before);
        Click(w.Controls().Bt_Add);
        w.Controls().Tx_Data[3]->setText(QString(50000, u'u'));
        Click(w.Controls().Bt_OK[0]);
        VERIFY_STORED(w, dir, QList<QStringList>({entry, {{}, {}, {}, QString(50000, u'u')}}));
    }
};

QTEST_MAIN(TestCommits)
#include "tst_commits.moc"

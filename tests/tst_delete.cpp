// Deleting the selected entry: the confirmation, the refusals, and what reaches the file.
#include "support/window_driver.h"

#include <QFileInfo>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using WindowDriver::Click;
using WindowDriver::Pick;

namespace {

void VerifyQuestion(const MessageRequest& m, const QString& title)
{
    QCOMPARE(m.text, title + u"を削除します"_s);
    QCOMPARE(m.title, u"削除の確認"_s);
    QCOMPARE(m.buttons, MessageRequest::Buttons::YesNo);
    QCOMPARE(m.defaultAnswer, MessageRequest::Answer::No);
    QCOMPARE(m.icon, QMessageBox::Question);
}

QList<QStringList> EntriesWithGroup(int count, int group)
{
    auto entries = TestFiles::NumberedEntries(count);
    if (group > 0)
        entries[group - 1] = {u"Group %1"_s.arg(group), {}, {}, {}};
    return entries;
}

} // namespace

class TestDelete : public QObject {
    Q_OBJECT
private slots:
    void deletesTheSelectedEntry_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("group");
        QTest::newRow("first of 5") << 5 << 1 << 0;
        QTest::newRow("middle of 5") << 5 << 3 << 0;
        QTest::newRow("last of 5") << 5 << 5 << 0;
        QTest::newRow("first of 200") << 200 << 1 << 0;
        QTest::newRow("middle of 200") << 200 << 100 << 0;
        QTest::newRow("last of 200") << 200 << 200 << 0;
        QTest::newRow("first of 2") << 2 << 1 << 0;
        QTest::newRow("second of 2") << 2 << 2 << 0;
        QTest::newRow("a group heading") << 5 << 2 << 2;
        QTest::newRow("the entry below a group") << 5 << 3 << 2;
    }

    void deletesTheSelectedEntry()
    {
        QFETCH(int, count);
        QFETCH(int, selected);
        QFETCH(int, group);
        auto entries = EntriesWithGroup(count, group);
        MainWindowFixture f(entries);
        auto [dir, desktop, w] = f.Parts();
        const QByteArray& before = f.before;
        desktop.answers.push_back(MessageRequest::Answer::Yes);
        QVERIFY(WindowDriver::ShowActive(w));
        Pick(w, selected);
        Click(w.Controls().Bt_Del);
        QCOMPARE(desktop.messages.size(), 1);
        VerifyQuestion(desktop.messages[0], entries[selected - 1][0]);
        entries.removeAt(selected - 1);
        VERIFY_STORED(w, dir, entries);
        QCOMPARE(dir.backup(), before);
        QCOMPARE(w.Controls().IComboTitle->SelectedIndex(), 1);
        QCOMPARE(w.Controls().IComboTitle->currentText(), entries[0][0]);
        QCOMPARE(WindowDriver::Displayed(w), QStringList({{}, {}, {}, {}}));
        QCOMPARE(QApplication::focusWidget(), w.Controls().IComboTitle);
        VERIFY_BROWSING(w);
    }

    // No, given or taken as the default, leaves everything and puts the focus on the selector.
    void noLeavesEverything_data()
    {
        QTest::addColumn<bool>("answerGiven");
        QTest::newRow("No answered") << true;
        QTest::newRow("No by default") << false;
    }

    void noLeavesEverything()
    {
        QFETCH(bool, answerGiven);
        const auto entries = TestFiles::NumberedEntries(3);
        MainWindowFixture f(entries);
        auto [dir, desktop, w] = f.Parts();
        const QByteArray& before = f.before;
        if (answerGiven)
            desktop.answers.push_back(MessageRequest::Answer::No);
        QVERIFY(WindowDriver::ShowActive(w));
        Pick(w, 2);
        const QStringList shown = WindowDriver::Displayed(w);
        w.Controls().Bt_Del->setFocus();
        Click(w.Controls().Bt_Del);
        QCOMPARE(desktop.messages.size(), 1);
        VerifyQuestion(desktop.messages[0], u"Title 2"_s);
        VERIFY_STORED(w, dir, entries);
        QCOMPARE(dir.data(), before);
        QVERIFY(!QFileInfo::exists(dir.backupPath()));
        QCOMPARE(w.Controls().IComboTitle->SelectedIndex(), 2);
        QCOMPARE(WindowDriver::Displayed(w), shown);
        QCOMPARE(QApplication::focusWidget(), w.Controls().IComboTitle);
        VERIFY_BROWSING(w);
    }

    // The last entry cannot go: a message under the application's own title, nothing else.
    void lastEntryIsRefused()
    {
        const auto entries = TestFiles::NumberedEntries(2);
        MainWindowFixture f(entries);
        auto [dir, desktop, w] = f.Parts();
        const QByteArray& before = f.before;
        desktop.answers.push_back(MessageRequest::Answer::Yes);
        QVERIFY(WindowDriver::ShowActive(w));
        Click(w.Controls().Bt_Del);
        VERIFY_STORED(w, dir, entries.mid(1));
        const QByteArray one = dir.data();
        QTest::keyClick(w.Controls().IComboTitle, Qt::Key_Home);
        const QStringList shown = WindowDriver::Displayed(w);
        w.Controls().Bt_Del->setFocus();
        Click(w.Controls().Bt_Del);
        QCOMPARE(desktop.messages.size(), 2);
        const MessageRequest& m = desktop.messages[1];
        QCOMPARE(m.text, u"最後の１項目は削除できません。必要に応じて編集してください"_s);
        QCOMPARE(m.title, QString());
        QCOMPARE(desktop.AppTitle(), u"コファリー"_s);
        QCOMPARE(m.buttons, MessageRequest::Buttons::Ok);
        QCOMPARE(m.icon, QMessageBox::NoIcon);
        VERIFY_STORED(w, dir, entries.mid(1));
        QCOMPARE(dir.data(), one);
        QCOMPARE(dir.backup(), before);
        QCOMPARE(WindowDriver::Displayed(w), shown);
        QCOMPARE(QApplication::focusWidget(), w.Controls().Bt_Del);
        VERIFY_BROWSING(w);
    }

    void emptyTitleIsAskedAboutWithTheSuffixAlone()
    {
        MainWindowFixture f({{{}, u"i"_s, {}, {}}, {u"B"_s, {}, {}, {}}});
        auto [dir, desktop, w] = f.Parts();
        Click(w.Controls().Bt_Del);
        QCOMPARE(desktop.messages.size(), 1);
        VerifyQuestion(desktop.messages[0], QString());
    }

    void altDAsksAndDeletes()
    {
        auto entries = TestFiles::NumberedEntries(3);
        MainWindowFixture f(entries);
        auto [dir, desktop, w] = f.Parts();
        desktop.answers.push_back(MessageRequest::Answer::Yes);
        QVERIFY(WindowDriver::ShowActive(w));
        Pick(w, 3);
        QTest::keyClick(&w, Qt::Key_D, Qt::AltModifier);
        QTRY_COMPARE(desktop.messages.size(), 1);
        entries.removeLast();
        VERIFY_STORED(w, dir, entries);
        QCOMPARE(w.Controls().IComboTitle->SelectedIndex(), 1);
    }

    // During a copy run and in a mode there is nothing the delete button can be pressed with.
    void unreachableDuringARunOrAMode()
    {
        MainWindowFixture f(TestFiles::NumberedEntries(3));
        auto [dir, desktop, w] = f.Parts();
        const QByteArray& before = f.before;
        QVERIFY(WindowDriver::ShowActive(w));
        Click(w.Controls().Bt_Clip[1]); // "pw-1-x": a run of three pieces
        QVERIFY(w.InCopyRun());
        Click(w.Controls().Bt_Del);
        QVERIFY(desktop.messages.isEmpty());
        // A button that takes its access key shows itself pressed at once, and clicks later.
        QTest::keyClick(&w, Qt::Key_D, Qt::AltModifier);
        QVERIFY(!w.Controls().Bt_Del->isDown());
        Click(w.Controls().Bt_Clip[1]);
        Click(w.Controls().Bt_Clip[1]);
        Click(w.Controls().Bt_Edit);
        QCOMPARE(w.CurrentMode(), Fm_Cofferly::Mode::Editing);
        Click(w.Controls().Bt_Del);
        QVERIFY(desktop.messages.isEmpty());
        QTest::keyClick(&w, Qt::Key_D, Qt::AltModifier);
        QVERIFY(!w.Controls().Bt_Del->isDown());
        Click(w.Controls().Bt_OK[1]);
        VERIFY_BROWSING(w);
        // In browsing the same key reaches the button, answered No.
        desktop.answers.push_back(MessageRequest::Answer::No);
        QTest::keyClick(&w, Qt::Key_D, Qt::AltModifier);
        QVERIFY(w.Controls().Bt_Del->isDown());
        QTRY_COMPARE(desktop.messages.size(), 1);
        QCOMPARE(dir.data(), before);
    }
};

QTEST_MAIN(TestDelete)
#include "tst_delete.moc"

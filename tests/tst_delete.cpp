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

QList<QStringList> Entries(int count, int group)
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
        ProgramDir dir;
        auto entries = Entries(count, group);
        const QByteArray before = TestFiles::Make(1500, 3000, entries);
        dir.writeData(before);
        RecordingDesktop desktop;
        desktop.answers.push_back(MessageRequest::Answer::Yes);
        Fm_Cofferly w(dir.path(), desktop);
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
        ProgramDir dir;
        const auto entries = TestFiles::NumberedEntries(3);
        const QByteArray before = TestFiles::Make(1500, 3000, entries);
        dir.writeData(before);
        RecordingDesktop desktop;
        if (answerGiven)
            desktop.answers.push_back(MessageRequest::Answer::No);
        Fm_Cofferly w(dir.path(), desktop);
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
        ProgramDir dir;
        const auto entries = TestFiles::NumberedEntries(2);
        const QByteArray before = TestFiles::Make(1500, 3000, entries);
        dir.writeData(before);
        RecordingDesktop desktop;
        desktop.answers.push_back(MessageRequest::Answer::Yes);
        Fm_Cofferly w(dir.path(), desktop);
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
        ProgramDir dir;
        dir.writeData(TestFiles::Make(1500, 3000, {{{}, u"i"_s, {}, {}}, {u"B"_s, {}, {}, {}}}));
        RecordingDesktop desktop;
        Fm_Cofferly w(dir.path(), desktop);
        Click(w.Controls().Bt_Del);
        QCOMPARE(desktop.messages.size(), 1);
        VerifyQuestion(desktop.messages[0], QString());
    }

    void altDAsksAndDeletes()
    {
        ProgramDir dir;
        auto entries = TestFiles::NumberedEntries(3);
        dir.writeData(TestFiles::Make(1500, 3000, entries));
        RecordingDesktop desktop;
        desktop.answers.push_back(MessageRequest::Answer::Yes);
        Fm_Cofferly w(dir.path(), desktop);
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
        ProgramDir dir;
        const QByteArray before = TestFiles::Make(1500, 3000, TestFiles::NumberedEntries(3));
        dir.writeData(before);
        RecordingDesktop desktop;
        Fm_Cofferly w(dir.path(), desktop);
        QVERIFY(WindowDriver::ShowActive(w));
        Click(w.Controls().Bt_Clip[1]); // "pw-1-x": a run of three pieces
        Click(w.Controls().Bt_Del);
        QTest::keyClick(&w, Qt::Key_D, Qt::AltModifier);
        QTest::qWait(200);
        QVERIFY(desktop.messages.isEmpty());
        Click(w.Controls().Bt_Clip[1]);
        Click(w.Controls().Bt_Clip[1]);
        Click(w.Controls().Bt_Edit);
        Click(w.Controls().Bt_Del);
        QTest::keyClick(&w, Qt::Key_D, Qt::AltModifier);
        QTest::qWait(200);
        QVERIFY(desktop.messages.isEmpty());
        QCOMPARE(dir.data(), before);
    }
};

QTEST_MAIN(TestDelete)
#include "tst_delete.moc"

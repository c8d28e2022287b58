// Add and edit modes: entering them, going back, the keys that end them, and closing in one.
#include "support/window_driver.h"

#include <QFileInfo>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using WindowDriver::Click;
using WindowDriver::EnterMode;
using WindowDriver::kAdd;
using WindowDriver::kEdit;
using WindowDriver::Pick;
using WindowDriver::Type;
using Answer = MessageRequest::Answer;

class TestEditModes : public QObject {
    Q_OBJECT
private slots:
    // Back touches neither table nor files nor selection; the typed texts stay in the boxes.
    void backChangesNothing_data()
    {
        QTest::addColumn<bool>("add");
        QTest::addColumn<bool>("byEscape");
        QTest::newRow("add, button") << true << false;
        QTest::newRow("add, Esc") << true << true;
        QTest::newRow("edit, button") << false << false;
        QTest::newRow("edit, Esc") << false << true;
    }

    void backChangesNothing()
    {
        QFETCH(bool, add);
        QFETCH(bool, byEscape);
        const auto entries = TestFiles::NumberedEntries(3);
        MainWindowFixture f(entries);
        auto [dir, desktop, w] = f.Parts();
        const QByteArray& before = f.before;
        QVERIFY(WindowDriver::ShowActive(w));
        Pick(w, 2);
        const QStringList shown = WindowDriver::Displayed(w);
        const int browsingHeight = w.height();
        const int top = w.geometry().top();
        EnterMode(w, add);
        QCOMPARE(w.CurrentMode(), add ? Fm_Cofferly::Mode::Adding : Fm_Cofferly::Mode::Editing);
        QCOMPARE(QApplication::focusWidget(), w.Controls().Tx_Data[0]);
        QVERIFY(w.height() > browsingHeight);
        QCOMPARE(w.geometry().top(), top);
        const QStringList typed{u"a"_s, u"b"_s, u"c"_s, u"d"_s};
        Type(w, typed);
        if (byEscape)
            QTest::keyClick(w.Controls().Tx_Data[2], Qt::Key_Escape);
        else
            Click(w.Controls().Bt_OK[1]);
        VERIFY_BROWSING(w);
        VERIFY_STORED(w, dir, entries);
        QCOMPARE(dir.data(), before);
        QVERIFY(!QFileInfo::exists(dir.backupPath()));
        QCOMPARE(w.Controls().IComboTitle->SelectedIndex(), 2);
        QCOMPARE(WindowDriver::Displayed(w), shown);
        QCOMPARE(WindowDriver::TextsInPanel(w), typed);
        QCOMPARE(QApplication::focusWidget(), w.Controls().IComboTitle);
        QCOMPARE(w.height(), browsingHeight);
        QCOMPARE(w.geometry().top(), top);
        // Esc in browsing mode does nothing.
        QTest::keyClick(w.Controls().IComboTitle, Qt::Key_Escape);
        VERIFY_BROWSING(w);
        // Entering a mode again replaces what was left in the boxes.
        EnterMode(w, add);
        QCOMPARE(WindowDriver::TextsInPanel(w), add ? QStringList({{}, {}, {}, {}}) : entries[1]);
    }

    // Enter commits and Esc goes back from each of the four text boxes.
    void enterAndEscFromEveryBox_data()
    {
        QTest::addColumn<int>("box");
        QTest::addColumn<bool>("add");
        QTest::addColumn<int>("key");
        for (int box = 0; box < 4; ++box) {
            for (bool add : {true, false}) {
                const char* mode = add ? "add" : "edit";
                QTest::addRow("box %d, %s, Enter", box, mode) << box << add << int(Qt::Key_Return);
                QTest::addRow("box %d, %s, keypad Enter", box, mode)
                    << box << add << int(Qt::Key_Enter);
                QTest::addRow("box %d, %s, Esc", box, mode) << box << add << int(Qt::Key_Escape);
            }
        }
    }

    void enterAndEscFromEveryBox()
    {
        QFETCH(int, box);
        QFETCH(bool, add);
        QFETCH(int, key);
        const auto entries = TestFiles::NumberedEntries(2);
        MainWindowFixture f(entries);
        auto [dir, desktop, w] = f.Parts();
        QVERIFY(WindowDriver::ShowActive(w));
        EnterMode(w, add);
        for (int i = 0; i < box; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w.Controls().Tx_Data[box]);
        QTest::keyClicks(w.Controls().Tx_Data[box], u"typed"_s);
        const QStringList typed = WindowDriver::TextsInPanel(w);
        QTest::keyClick(w.Controls().Tx_Data[box], Qt::Key(key),
                        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        VERIFY_BROWSING(w);
        QCOMPARE(QApplication::focusWidget(), w.Controls().IComboTitle);
        if (key == Qt::Key_Escape) {
            QCOMPARE(dir.data(), f.before);
            VERIFY_STORED(w, dir, entries);
            return;
        }
        VERIFY_STORED(w, dir, WindowDriver::Committed(entries, add, 1, typed));
        QCOMPARE(dir.backup(), f.before);
    }

    // Edit takes the selected entry from the table, also when the display shows something else.
    void editFillsThePanelFromTheTable()
    {
        const auto entries = TestFiles::NumberedEntries(4);
        MainWindowFixture f(entries);
        auto [dir, desktop, w] = f.Parts();
        desktop.answers.push_back(MessageRequest::Answer::Yes);
        w.Controls().IComboTitle->SelectItem(3);
        Click(w.Controls().Bt_Edit);
        QCOMPARE(WindowDriver::TextsInPanel(w), entries[2]);
        for (int i = 1; i <= 3; ++i) // a long URL is shown from its start
            QCOMPARE(w.Controls().Tx_Data[i]->cursorPosition(), 0);
        Click(w.Controls().Bt_OK[1]);
        QCOMPARE(WindowDriver::Displayed(w)[0], entries[0][1]);
        Click(w.Controls().Bt_Del); // the display is empty afterwards, entry 1 selected
        Click(w.Controls().Bt_Edit);
        QCOMPARE(WindowDriver::TextsInPanel(w), entries[0]);
    }

    // Alt+A and Alt+E open the modes; cmdSort stays off until the mode ends.
    void modesByAccessKeys()
    {
        MainWindowFixture f(TestFiles::NumberedEntries(2));
        auto [dir, desktop, w] = f.Parts();
        QVERIFY(WindowDriver::ShowActive(w));
        QTest::keyClick(&w, Qt::Key_A, Qt::AltModifier);
        QTRY_VERIFY(w.Controls().Bt_OK[0]->isEnabled());
        VERIFY_MODE(w, kAdd);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        VERIFY_BROWSING(w);
        QTest::keyClick(&w, Qt::Key_E, Qt::AltModifier);
        QTRY_VERIFY(w.Controls().Bt_OK[0]->isEnabled());
        VERIFY_MODE(w, kEdit);
        QCOMPARE(w.Controls().Tx_Data[0]->text(), u"Title 1"_s);
        QCOMPARE(w.Controls().Tx_Data[0]->selectedText(), u"Title 1"_s);
    }

    // Closing with texts typed in a mode asks first; はい commits as the commit button does.
    void closingDuringAMode_data()
    {
        QTest::addColumn<bool>("add");
        QTest::addColumn<QString>("id"); // typed into the ID box
        QTest::addColumn<int>("answer"); // -1: no question
        QTest::newRow("edit, はい") << false << u"new-"_s << int(Answer::Yes);
        QTest::newRow("add, はい") << true << u"new"_s << int(Answer::Yes);
        QTest::newRow("edit, はい, refused") << false << u"a\u301cb"_s << int(Answer::Yes);
        QTest::newRow("edit, いいえ") << false << u"new-"_s << int(Answer::No);
        QTest::newRow("edit, キャンセル") << false << u"new-"_s << int(Answer::Cancel);
        QTest::newRow("edit, unchanged") << false << QString() << -1;
        QTest::newRow("add, nothing typed") << true << QString() << -1;
    }

    void closingDuringAMode()
    {
        QFETCH(bool, add);
        QFETCH(QString, id);
        QFETCH(int, answer);
        auto entries = TestFiles::NumberedEntries(2);
        MainWindowFixture f(entries);
        auto [dir, desktop, w] = f.Parts();
        QVERIFY(WindowDriver::ShowActive(w));
        EnterMode(w, add);
        WindowDriver::TypeText(w.Controls().Tx_Data[1], id);
        const QStringList typed = WindowDriver::TextsInPanel(w);
        if (answer >= 0)
            desktop.answers.push_back(Answer(answer));
        const bool refused = id.contains(u'\u301c');
        const bool stays = refused || answer == int(Answer::Cancel);
        QCOMPARE(w.close(), !stays);
        QCOMPARE(desktop.messages.size(), answer < 0 ? 0 : refused ? 2 : 1);
        if (answer >= 0) {
            const MessageRequest& q = desktop.messages[0];
            QCOMPARE(std::tuple(q.text, q.title, q.buttons, q.defaultAnswer),
                     std::tuple(u"編集中の内容を保存しますか？"_s, u"保存の確認"_s,
                                MessageRequest::Buttons::YesNoCancel, Answer::Yes));
        }
        if (stays) {
            VERIFY_MODE(w, add ? kAdd : kEdit);
            QCOMPARE(WindowDriver::TextsInPanel(w), typed);
            QCOMPARE(dir.data(), f.before);
            return;
        }
        if (answer == int(Answer::Yes))
            entries = WindowDriver::Committed(entries, add, 1, typed);
        // Only a commit changes the entries and makes a backup; the close writes the position.
        QCOMPARE(dir.backup(), answer == int(Answer::Yes) ? f.before : QByteArray());
        QCOMPARE(dir.data(), WindowDriver::FileFor(w, entries));
    }
};

QTEST_MAIN(TestEditModes)
#include "tst_edit_modes.moc"

// The main window's start-up, layout, always-on-top and close.
#include "main_window/fm_cofferly.h"
#include "resources/texts.h"
#include "sort_window/frm_sort.h"
#include "support/test_support.h"
#include "support/window_driver.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QTreeWidget>
#include <QWindow>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void startsInBrowsingModeWithEntryOneShown()
    {
        MainWindowFixture f(
            {{u"Bank"_s, u"me"_s, u"p-w"_s, u"https://bank"_s}, {u"Mail"_s, u"m"_s, u"x"_s, {}}});
        auto [dir, desktop, w] = f.Parts();
        QVERIFY(!w.Ended());
        QCOMPARE(w.windowTitle(), u"ﾊﾟｽﾜｰﾄﾞ管理「ｺﾌｧﾘｰ」ver.0.40"_s);
        QCOMPARE(desktop.AppTitle(), u"コファリー"_s);
        QCOMPARE(w.Controls().IComboTitle->ListCount(), 2);
        QCOMPARE(w.Controls().IComboTitle->SelectedIndex(), 1);
        QCOMPARE(w.Controls().Lb_data[0]->text(), u"me"_s);
        QCOMPARE(w.Controls().Lb_data[1]->text(), u"p-w"_s);
        QCOMPARE(w.Controls().Lb_data[2]->text(), u"https://bank"_s);
        QCOMPARE(w.Controls().Lb_data[2]->toolTip(), u"https://bank"_s);
        for (QLineEdit* box : w.Controls().Tx_Data)
            QVERIFY(!box->isEnabled());
        QVERIFY(!w.Controls().Bt_OK[0]->isEnabled() && !w.Controls().Bt_OK[1]->isEnabled());
        for (QWidget* c : {(QWidget*)w.Controls().IComboTitle, (QWidget*)w.Controls().Bt_Add,
                           (QWidget*)w.Controls().Bt_Edit, (QWidget*)w.Controls().Bt_Del,
                           (QWidget*)w.Controls().Bt_Clip[0], (QWidget*)w.Controls().Bt_Clip[1],
                           (QWidget*)w.Controls().CmdURL, (QWidget*)w.Controls().cmdTop,
                           (QWidget*)w.Controls().cmdSort})
            QVERIFY(c->isEnabled());
        QCOMPARE(w.DefaultButton(), w.Controls().Bt_Clip[0]);
        QCOMPARE(w.pos(), QPoint(200, 100));
        QVERIFY(desktop.messages.isEmpty());
    }

    void browsingHeightHidesTheEditPanel()
    {
        ProgramDir dir;
        RecordingDesktop desktop;
        OpenedWindow opened(dir.path(), desktop);
        Fm_Cofferly& w = *opened;
        // Everything above Line1 is in view, nothing of the edit panel.
        QVERIFY(w.Controls().Shape1->geometry().bottom() < w.height());
        QVERIFY(w.Controls().cmdTop->geometry().bottom() < w.height());
        QVERIFY(w.Controls().Tx_Data[0]->geometry().top() >= w.height());
        QVERIFY(w.Controls().Label2->geometry().top() >= w.height());
        QCOMPARE(w.width(), 382);
    }

    void firstStartCreatesTheDefaultFile()
    {
        ProgramDir dir;
        RecordingDesktop desktop;
        OpenedWindow opened(dir.path(), desktop);
        Fm_Cofferly& w = *opened;
        QVERIFY(QFileInfo::exists(dir.dataPath()));
        QCOMPARE(w.Controls().IComboTitle->ListCount(), 1);
        QCOMPARE(w.Controls().IComboTitle->Text(), u"新規グループ"_s);
        QCOMPARE(w.Controls().IComboTitle->Image(1), ItemImage::Folder);
        for (QLabel* label : w.Controls().Lb_data)
            QCOMPARE(label->text(), QString());
        QCOMPARE(w.Controls().Lb_data[2]->toolTip(), QString());
        const QByteArray expectedPosition =
            QByteArray::number(w.y() * 15) + ',' + QByteArray::number(w.x() * 15) + "\r\n";
        QVERIFY(dir.data().startsWith(expectedPosition));
    }

    void emptyTableKeepsTheInitialDisplay()
    {
        MainWindowFixture f(QByteArray("0,0\r\n"));
        auto [dir, desktop, w] = f.Parts();
        QCOMPARE(w.Controls().IComboTitle->ListCount(), 0);
        QCOMPARE(w.Controls().IComboTitle->SelectedIndex(), 0);
        QCOMPARE(w.Controls().Lb_data[0]->text(), u"未入力"_s);
        QCOMPARE(w.Controls().Lb_data[1]->text(), u"未入力"_s);
    }

    void topSwitchesTheLampAndTheStaysOnTopFlag()
    {
        ProgramDir dir;
        RecordingDesktop desktop;
        OpenedWindow opened(dir.path(), desktop);
        Fm_Cofferly& w = *opened;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QPoint where = w.pos();
        QCOMPARE(w.Controls().Shape2->FillColor(), QColor(128, 128, 0));
        QTest::mouseClick(w.Controls().cmdTop, Qt::LeftButton);
        QVERIFY(w.IsOnTop());
        QCOMPARE(w.Controls().Shape2->FillColor(), QColor(255, 255, 0));
        QVERIFY(w.windowHandle()->flags() & Qt::WindowStaysOnTopHint);
        QVERIFY(w.isVisible());
        QTest::mouseClick(w.Controls().cmdTop, Qt::LeftButton);
        QVERIFY(!w.IsOnTop());
        QCOMPARE(w.Controls().Shape2->FillColor(), QColor(128, 128, 0));
        QVERIFY(!(w.windowHandle()->flags() & Qt::WindowStaysOnTopHint));
        QCOMPARE(w.pos(), where);
    }

    // The window's menu opens with the right button on the window's background, its frame
    // and its labels, not on its buttons; from the keyboard, with the Menu key or
    // Shift+F10 on any control while browsing. Each entry shows its key.
    void menuOpensOnTheWindowAndFromTheKeyboard()
    {
        MainWindowFixture f(TestFiles::NumberedEntries(2));
        auto [dir, desktop, w] = f.Parts();
        QVERIFY(WindowDriver::ShowActive(w));
        QMenu* menu = w.Menu();
        QCOMPARE(menu->actions().value(0)->text(), u"クリップボードを消去(&C)"_s);
        QCOMPARE(menu->actions().value(0)->shortcut(), QKeySequence(u"Ctrl+Shift+C"_s));
        QVERIFY(menu->actions().value(0)->isShortcutVisibleInContextMenu());
        QCOMPARE(menu->actions().value(1)->text(), u"設定(&S)..."_s);
        QCOMPARE(menu->actions().value(1)->shortcut(), QKeySequence(u"Ctrl+,"_s));
        const auto& c = w.Controls();
        QPoint background;
        for (int y = 2; background.isNull() && y < w.height(); y += 2)
            for (int x = 2; background.isNull() && x < w.width(); x += 2)
                if (!w.childAt(x, y))
                    background = {x, y};
        QVERIFY(!background.isNull());
        const std::pair<QWidget*, bool> rightPresses[] = {
            {&w, true},           {c.Frame1, true},  {c.Label3, true},      {c.LbClipBoard, true},
            {c.Lb_data[1], true}, {c.Bt_Add, false}, {c.Bt_Clip[0], false}, {c.IComboTitle, false}};
        for (const auto& [widget, opens] : rightPresses) {
            // The event the window system sends for a right press, to the widget under it.
            const QPoint at = widget == &w ? background : QPoint(3, widget->height() - 3);
            QContextMenuEvent press(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
            QApplication::sendEvent(widget, &press);
            QCOMPARE(menu->isVisible(), opens);
            menu->hide();
        }
        for (QWidget* focus :
             {(QWidget*)c.IComboTitle, (QWidget*)c.Bt_Clip[1], (QWidget*)c.cmdSort}) {
            for (const QKeyCombination key :
                 {QKeyCombination(Qt::Key_Menu), Qt::SHIFT | Qt::Key_F10}) {
                focus->setFocus();
                QTest::keyClick(focus, key.key(), key.keyboardModifiers());
                QVERIFY(menu->isVisible());
                menu->hide();
            }
        }
        // In a mode the edit boxes keep their own menu.
        WindowDriver::EnterMode(w, true);
        QTest::keyClick(c.Tx_Data[0], Qt::Key_Menu);
        QVERIFY(!menu->isVisible());
    }

    // The close saves the window's position; the entries did not change, so the backup is
    // left as it was: none here, an older one in the second round.
    void closingSavesTwice()
    {
        MainWindowFixture f(TestFiles::NumberedEntries(3));
        auto [dir, desktop, w] = f.Parts();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.move(40, 60);
        QTRY_COMPARE(w.pos(), QPoint(40, 60));
        w.close();
        const QByteArray after = TestFiles::Make(900, 600, TestFiles::NumberedEntries(3));
        QCOMPARE(dir.data(), after);
        QVERIFY(!QFileInfo::exists(dir.backupPath()));

        const QByteArray older = TestFiles::Make(0, 0, TestFiles::NumberedEntries(1));
        TestFiles::Write(dir.backupPath(), older);
        OpenedWindow openedAgain(dir.path(), desktop);
        Fm_Cofferly& again = *openedAgain;
        again.show();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        again.move(80, 30);
        QTRY_COMPARE(again.pos(), QPoint(80, 30));
        again.close();
        QCOMPARE(dir.data(), TestFiles::Make(450, 1200, TestFiles::NumberedEntries(3)));
        QCOMPARE(dir.backup(), older);
        QVERIFY(desktop.messages.isEmpty());
    }

    // The sort window over the real main window: a move saved there reaches the file and
    // the title list, and the main window comes back with item 1 selected and nothing shown.
    void sortWindowSavesAndResetsTheDisplay()
    {
        const QList<QStringList> entries{{u"Bank"_s, u"me"_s, u"p-w"_s, u"https://bank"_s},
                                         {u"Mail"_s, u"m"_s, u"x"_s, {}},
                                         {u"Shop"_s, u"s"_s, u"y"_s, {}}};
        MainWindowFixture f(entries);
        auto [dir, desktop, w] = f.Parts();
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.Controls().IComboTitle->SelectItem(2);
        ActOnModal<QDialog> mover([](QDialog* sort) {
            auto* list = sort->findChild<QTreeWidget*>();
            list->setCurrentItem(list->topLevelItem(0));
            QTest::keyClick(list, Qt::Key_D, Qt::ControlModifier);
            QTest::keyClick(list, Qt::Key_S, Qt::ControlModifier);
        });
        QTest::mouseClick(w.Controls().cmdSort, Qt::LeftButton);
        QVERIFY(mover.Acted());
        const QList<QStringList> sorted{entries[1], entries[0], entries[2]};
        QCOMPARE(dir.data(), TestFiles::Make(w.pos().y() * 15, w.pos().x() * 15, sorted));
        QCOMPARE(dir.backup(), f.before);
        QCOMPARE(w.Controls().IComboTitle->ListCount(), 3);
        QCOMPARE(w.Controls().IComboTitle->SelectedIndex(), 1);
        QCOMPARE(w.Controls().IComboTitle->Text(), u"Mail"_s);
        for (QLabel* shown : w.Controls().Lb_data)
            QCOMPARE(shown->text(), QString());
        QVERIFY(desktop.messages.isEmpty());
    }

    // A sort saved without a change rewrites the file with the window's position and leaves
    // the backup alone; discarding writes nothing. Either way item 1 is selected and the
    // entry display emptied.
    void sortSavedUnchangedOrDiscarded()
    {
        MainWindowFixture f(TestFiles::NumberedEntries(3), 10, 20);
        auto [dir, desktop, w] = f.Parts();
        QVERIFY(WindowDriver::ShowActive(w));
        WindowDriver::Pick(w, 2);
        ActOnModal<frmSort> discard([](frmSort* sort) { QTest::keyClick(sort, Qt::Key_Escape); });
        w.cmdSort_Click();
        QVERIFY(discard.Acted());
        QCOMPARE(dir.data(), f.before);
        QCOMPARE(w.Controls().IComboTitle->SelectedIndex(), 1);
        QCOMPARE(WindowDriver::Displayed(w), QStringList({{}, {}, {}, {}}));

        ActOnModal<frmSort> save([](frmSort* sort) { sort->CmdOK_Click(0); });
        w.cmdSort_Click();
        QVERIFY(save.Acted());
        QCOMPARE(dir.data(), WindowDriver::FileFor(w, TestFiles::NumberedEntries(3)));
        QVERIFY(dir.data() != f.before);
        QVERIFY(!QFileInfo::exists(dir.backupPath()));
        QVERIFY(desktop.messages.isEmpty());
        VERIFY_BROWSING(w);
    }

    // A copy run leaves no way into the sort window: a sort discarded in the middle of a run
    // used to empty the display and leave the run, and every control it disables, stuck.
    void noSortDuringACopyRun()
    {
        MainWindowFixture f({{u"Bank"_s, u"user-01"_s, u"ab-cd-ef"_s, u"https://bank"_s},
                             {u"Mail"_s, u"m"_s, u"x"_s, {}}});
        auto [dir, desktop, w] = f.Parts();
        QVERIFY(WindowDriver::ShowActive(w));
        ActOnModal<frmSort> discard([](frmSort* sort) { QTest::keyClick(sort, Qt::Key_Escape); });
        QTest::mouseClick(w.Controls().Bt_Clip[0], Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), u"user"_s);
        QVERIFY(w.InCopyRun());
        QVERIFY(!w.Controls().cmdSort->isEnabled());
        QTest::mouseClick(w.Controls().cmdSort, Qt::LeftButton);
        // A button that takes its access key shows itself pressed at once, and clicks later.
        QTest::keyClick(&w, Qt::Key_S, Qt::AltModifier);
        QVERIFY(!w.Controls().cmdSort->isDown());
        QVERIFY(!discard.Acted());
        QCOMPARE(WindowDriver::Displayed(w),
                 QStringList({u"user-01"_s, u"ab-cd-ef"_s, u"https://bank"_s, u"https://bank"_s}));
        QTest::mouseClick(w.Controls().Bt_Clip[0], Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), u"01"_s);
        VERIFY_BROWSING(w);
        QCOMPARE(w.CurrentMode(), Fm_Cofferly::Mode::Browsing);
        QVERIFY(!w.InCopyRun());
        // After the run the same key opens it.
        QTest::keyClick(&w, Qt::Key_S, Qt::AltModifier);
        QVERIFY(w.Controls().cmdSort->isDown());
        QTRY_VERIFY(discard.Acted());
        QCOMPARE(w.CurrentMode(), Fm_Cofferly::Mode::Browsing);
        QVERIFY(!w.InCopyRun());
        for (QWidget* c : {(QWidget*)w.Controls().IComboTitle, (QWidget*)w.Controls().Bt_Clip[1],
                           (QWidget*)w.Controls().Bt_Add, (QWidget*)w.Controls().cmdSort})
            QVERIFY(c->isEnabled());
        QCOMPARE(w.DefaultButton(), w.Controls().Bt_Clip[0]);
        QCOMPARE(dir.data(), f.before);
    }

    // Only the data file's backup is there: the user is asked whether it comes back.
    void missingDataFileRestoredFromTheBackup()
    {
        ProgramDir dir;
        const QList<QStringList> entries{{u"Bank"_s, u"me"_s, u"p-w"_s, u"https://bank"_s},
                                         {u"Mail"_s, u"m"_s, u"x"_s, {}}};
        const QByteArray backup = TestFiles::Make(1500, 3000, entries);
        TestFiles::Write(dir.backupPath(), backup);
        RecordingDesktop desktop;
        desktop.answers.push_back(MessageRequest::Answer::Yes);
        OpenedWindow opened(dir.path(), desktop);
        Fm_Cofferly& w = *opened;
        QVERIFY(!w.Ended());
        QCOMPARE(desktop.messages.size(), 1);
        const MessageRequest& m = desktop.messages[0];
        QCOMPARE(m.buttons, MessageRequest::Buttons::YesNo);
        QCOMPARE(m.icon, QMessageBox::Question);
        QVERIFY2(m.text.contains(QDir::toNativeSeparators(dir.dataPath())), qPrintable(m.text));
        QVERIFY2(m.text.contains(QDir::toNativeSeparators(dir.backupPath())), qPrintable(m.text));
        QCOMPARE(dir.data(), backup);
        QCOMPARE(dir.backup(), backup);
        QCOMPARE(TestFiles::AsLists(w.Table()), entries);
        QCOMPARE(w.Controls().IComboTitle->SelectedIndex(), 1);
        QCOMPARE(w.Controls().Lb_data[0]->text(), u"me"_s);
        QCOMPARE(w.CurrentMode(), Fm_Cofferly::Mode::Browsing);
        QVERIFY(!w.InCopyRun());
        // Nothing but the two files: no temporary was left behind.
        QStringList files = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        files.sort();
        QCOMPARE(files, QStringList({u"Cofferly.Dat"_s, u"Cofferly.bak"_s}));
        QVERIFY(desktop.endCodes.isEmpty());
    }

    // No ends the program with nothing written.
    void restoreDeclinedEndsWithoutWriting()
    {
        ProgramDir dir;
        const QByteArray backup = TestFiles::Make(1500, 3000, TestFiles::NumberedEntries(2));
        TestFiles::Write(dir.backupPath(), backup);
        RecordingDesktop desktop;
        desktop.answers.push_back(MessageRequest::Answer::No);
        QVERIFY(!OpenedWindow(dir.path(), desktop));
        QCOMPARE(desktop.messages.size(), 1);
        QCOMPARE(desktop.messages[0].buttons, MessageRequest::Buttons::YesNo);
        QVERIFY(!QFileInfo::exists(dir.dataPath()));
        QCOMPARE(dir.backup(), backup);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{u"Cofferly.bak"_s});
    }

    // A backup that does not read whole is reported like a damaged data file: nothing is
    // restored, nothing written, the program ends.
    void damagedBackupIsNotRestored_data()
    {
        QTest::addColumn<QByteArray>("backup");
        QTest::addColumn<QString>("reason");
        QTest::newRow("cut in an entry")
            << QByteArray("0,0\r\n\"Bank\"\r\n\"me\"\r\n")
            << Texts::FileCutInEntry.arg(Texts::FilePlaceInEntry.arg(4).arg(1));
        QTest::newRow("empty") << QByteArray() << Texts::FileEmpty;
    }

    void damagedBackupIsNotRestored()
    {
        QFETCH(QByteArray, backup);
        QFETCH(QString, reason);
        ProgramDir dir;
        TestFiles::Write(dir.backupPath(), backup);
        RecordingDesktop desktop;
        desktop.answers.push_back(MessageRequest::Answer::Yes);
        QVERIFY(!OpenedWindow(dir.path(), desktop));
        QCOMPARE(desktop.messages.size(), 2);
        const MessageRequest& m = desktop.messages[1];
        QCOMPARE(m.icon, QMessageBox::Critical);
        QVERIFY2(m.text.contains(QDir::toNativeSeparators(dir.backupPath())), qPrintable(m.text));
        QVERIFY2(m.text.contains(reason), qPrintable(m.text));
        QVERIFY(!QFileInfo::exists(dir.dataPath()));
        QCOMPARE(dir.backup(), backup);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{u"Cofferly.bak"_s});
    }

    void damagedFileEndsTheProgramWithoutWriting()
    {
        const QByteArray cut = "0,0\r\n\"only a title\"\r\n";
        ProgramDir dir(cut);
        RecordingDesktop desktop;
        QVERIFY(!OpenedWindow(dir.path(), desktop));
        QCOMPARE(desktop.messages.size(), 1);
        QVERIFY(desktop.messages[0].text.contains(QDir::toNativeSeparators(dir.dataPath())));
        QCOMPARE(desktop.messages[0].icon, QMessageBox::Critical);
        QCOMPARE(dir.data(), cut);
        QVERIFY(!QFileInfo::exists(dir.backupPath()));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"

#include "resources/item_images.h"
#include "support/sort_session.h"

#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

class TestSortWindow : public QObject {
    Q_OBJECT

private slots:
    void windowHasItsControlsAndMenus()
    {
        Session s;
        frmSort& w = *s.window;
        QCOMPARE(w.windowTitle(), QStringLiteral("Cofferly データの並べ替え"));
        QVERIFY(!w.windowIcon().isNull());
        QVERIFY(!(w.windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(w.Controls().ListView1->parentWidget()->size(), QSize(609, 369));
        QCOMPARE(w.Controls().ListView1->geometry(), QRect(4, 0, 602, 340));
        QCOMPARE(w.Controls().CmdOK[0]->geometry(), QRect(426, 345, 84, 22));
        QCOMPARE(w.Controls().CmdOK[1]->geometry(), QRect(518, 345, 84, 22));
        QCOMPARE(w.Controls().CmdOK[0]->text(), QStringLiteral("保　存"));
        QCOMPARE(w.Controls().CmdOK[1]->text(), QStringLiteral("破　棄"));
        QVERIFY(w.Controls().CmdOK[0]->isDefault());

        QCOMPARE(w.Controls().ListView1->columnCount(), 4);
        const QStringList headers{QStringLiteral("タイトル"), QStringLiteral("ＩＤ"),
                                  QStringLiteral("ＰＷ"), QStringLiteral("ＵＲＬ")};
        for (int c = 0; c < 4; ++c)
            QCOMPARE(w.Controls().ListView1->headerItem()->text(c), headers[c]);
        // Title 4 tenths, the others 2 tenths each, all inside the list: nothing cut off.
        const int tenth = w.Controls().ListView1->columnWidth(1) / 2;
        QVERIFY(tenth > 20);
        QVERIFY(qAbs(w.Controls().ListView1->columnWidth(0) - 4 * tenth) <= 2);
        QCOMPARE(w.Controls().ListView1->columnWidth(2), w.Controls().ListView1->columnWidth(1));
        QVERIFY(w.Controls().ListView1->columnWidth(3) >= w.Controls().ListView1->columnWidth(1));
        int total = 0;
        for (int c = 0; c < 4; ++c)
            total += w.Controls().ListView1->columnWidth(c);
        QVERIFY(total <= w.Controls().ListView1->maximumViewportSize().width());
        QVERIFY(!w.Controls().ListView1->rootIsDecorated());
        QCOMPARE(w.Controls().ListView1->selectionMode(), QAbstractItemView::SingleSelection);
        QVERIFY(!w.Controls().ListView1->isSortingEnabled());

        QCOMPARE(w.Controls().menu_file->title(), QStringLiteral("ﾌｧｲﾙ(&F)"));
        QCOMPARE(w.Controls().popup->title(), QStringLiteral("編集(&E)"));
        const QList<std::tuple<QAction*, const char16_t*, const char*>> items{
            {w.Controls().menu_SaveClose, u"保存終了", "Ctrl+S"},
            {w.Controls().menu_Cancel, u"破棄終了", "Ctrl+Q"},
            {w.Controls().itemUp, u"上へ", "Ctrl+U"},
            {w.Controls().itemDown, u"下へ", "Ctrl+D"}};
        for (const auto& [action, text, key] : items) {
            QCOMPARE(action->text(), QString::fromUtf16(text));
            QCOMPARE(action->shortcut(), QKeySequence(QString::fromLatin1(key)));
        }
        QCOMPARE(w.Controls().menu_file->actions(),
                 QList<QAction*>({w.Controls().menu_SaveClose, w.Controls().menu_Cancel}));
        QCOMPARE(w.Controls().popup->actions(),
                 QList<QAction*>({w.Controls().itemUp, w.Controls().itemDown}));
    }

    void opensWithEveryEntryInOrder()
    {
        Session s;
        QCOMPARE(s.Rows(), kEntries); // the PW column shows the passwords as they are
        QVERIFY(s.ShowsImage(1, ItemImage::Sheet));
        QVERIFY(s.ShowsImage(2, ItemImage::Folder));
        QVERIFY(s.ShowsImage(3, ItemImage::Sheet));
        QVERIFY(s.ShowsImage(4, ItemImage::Sheet)); // only a PW is still an ordinary entry
        QCOMPARE(s.Selected(), 0);
        QVERIFY(!s.window->ListChanged());

        // Only the title is retyped in place.
        QVERIFY(s.window->Controls().ListView1->topLevelItem(0)->flags() & Qt::ItemIsEditable);
        QTest::ignoreMessage(QtWarningMsg, "edit: editing failed");
        s.window->Controls().ListView1->editItem(s.window->Controls().ListView1->topLevelItem(0),
                                                 2);
        QVERIFY(!s.window->Controls().ListView1->IsEditing());
        QVERIFY(!s.window->Controls().ListView1->viewport()->findChild<QLineEdit*>());
    }

    void downExchangesRowsAndRepeatsCarryTheEntryOn()
    {
        Session s;
        QVERIFY(s.ShowActive());
        s.Select(1);
        s.window->itemDown_Click();
        QCOMPARE(s.Rows(), Swapped(kEntries, 1, 2));
        QCOMPARE(s.Selected(), 2);
        QVERIFY(s.window->ListChanged());

        QTest::keyClick(s.window->Controls().ListView1, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(s.Rows(), Swapped(Swapped(kEntries, 1, 2), 2, 3));
        QCOMPARE(s.Row(3), kEntries[0]);
        QCOMPARE(s.Selected(), 3);

        QTest::keyClick(s.window->Controls().ListView1, Qt::Key_U, Qt::ControlModifier);
        QCOMPARE(s.Row(2), kEntries[0]);
        QCOMPARE(s.Selected(), 2);
        QCOMPARE(s.desktop.beeps, 0);
        QVERIFY(s.window->isVisible()); // nothing is handed back until a save
    }

    // The list does not scroll after a moved row; the arrow keys still scroll as usual.
    void movedRowIsNotScrolledAfter()
    {
        const QList<QStringList> entries = TestFiles::NumberedEntries(60);
        Session s(entries);
        QVERIFY(s.ShowActive());
        SortList* list = s.window->Controls().ListView1;
        const int lastShown = list->indexAt(list->viewport()->rect().bottomLeft()).row() + 1;
        QVERIFY(lastShown > 1 && lastShown < 50);
        s.Select(lastShown);
        const int top = list->verticalScrollBar()->value();
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(list, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(s.Row(lastShown + 3), entries[lastShown - 1]);
        QCOMPARE(s.Selected(), lastShown + 3);
        QCOMPARE(list->verticalScrollBar()->value(), top);

        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(s.Selected(), lastShown + 4);
        QVERIFY(list->verticalScrollBar()->value() > top);
    }

    void movesPastTheEndsBeepAndChangeNothing()
    {
        Session s;
        QVERIFY(s.ShowActive());
        s.Select(1);
        s.window->itemUp_Click();
        QCOMPARE(s.desktop.beeps, 1);
        s.Select(4);
        QTest::keyClick(s.window->Controls().ListView1, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(s.desktop.beeps, 2);
        QCOMPARE(s.Rows(), kEntries);
        QCOMPARE(s.Selected(), 4);
        QVERIFY(!s.window->ListChanged());

        Session single({kEntries[1]});
        single.Select(1);
        single.window->itemUp_Click();
        single.window->itemDown_Click();
        QCOMPARE(single.desktop.beeps, 2);
        QCOMPARE(single.Rows(), QList<QStringList>({kEntries[1]}));
        QVERIFY(!single.window->ListChanged());
    }

    void movesWithoutSelectedRowChangeNothing()
    {
        Session s;
        s.window->itemDown_Click();
        s.window->itemUp_Click();
        QCOMPARE(s.Rows(), kEntries);
        QCOMPARE(s.desktop.beeps, 0);
        QVERIFY(!s.window->ListChanged());
    }

    void groupImageTravelsWithItsEntry()
    {
        Session s;
        s.Select(2);
        s.window->itemDown_Click();
        QVERIFY(s.ShowsImage(2, ItemImage::Sheet));
        QVERIFY(s.ShowsImage(3, ItemImage::Folder));
        s.window->itemUp_Click();
        s.window->itemUp_Click();
        QVERIFY(s.ShowsImage(1, ItemImage::Folder));
        QVERIFY(s.ShowsImage(2, ItemImage::Sheet));
        QCOMPARE(s.Row(1), kEntries[1]);
    }

    void saveWritesNewOrderAndTitles()
    {
        Session s;
        QVERIFY(s.ShowActive());
        s.Select(3);
        s.window->itemUp_Click();
        s.RetypeTitle(4, QStringLiteral("ネットショップ, 2号"));
        QVERIFY(s.window->isVisible()); // Enter ended the edit, it did not save

        QTest::mouseClick(s.window->Controls().CmdOK[0], Qt::LeftButton);
        QList<QStringList> expected = Swapped(kEntries, 2, 3);
        expected[3][0] = QStringLiteral("ネットショップ, 2号");
        s.VerifySavedAs(expected);
        QCOMPARE(s.desktop.messages.size(), 0);
    }

    // A save without a change still hands the rows back: the main window saves them.
    void saveWithoutChangeStillHandsTheRowsBack()
    {
        Session s;
        s.window->Controls().menu_SaveClose->trigger();
        s.VerifySavedAs(kEntries);
        QCOMPARE(s.desktop.messages.size(), 0);
    }

    void discardWithoutChangeAsksNothing()
    {
        Session s;
        QTest::mouseClick(s.window->Controls().CmdOK[1], Qt::LeftButton);
        QCOMPARE(s.desktop.messages.size(), 0);
        s.VerifyDiscarded();
    }

    void discardAfterChangeAsks_data()
    {
        QTest::addColumn<QString>("route");
        QTest::addColumn<bool>("yes");
        for (const char* route : {"button", "menu", "ctrl+q", "esc", "close box"}) {
            QTest::addRow("%s, No", route) << QString::fromLatin1(route) << false;
            QTest::addRow("%s, Yes", route) << QString::fromLatin1(route) << true;
        }
    }

    void discardAfterChangeAsks()
    {
        QFETCH(QString, route);
        QFETCH(bool, yes);
        Session s;
        QVERIFY(s.ShowActive());
        s.Select(1);
        s.window->itemDown_Click();
        s.desktop.answers = {yes ? MessageRequest::Answer::Yes : MessageRequest::Answer::No};

        if (route == u"button")
            QTest::mouseClick(s.window->Controls().CmdOK[1], Qt::LeftButton);
        else if (route == u"menu")
            s.window->Controls().menu_Cancel->trigger();
        else if (route == u"ctrl+q")
            QTest::keyClick(s.window->Controls().ListView1, Qt::Key_Q, Qt::ControlModifier);
        else if (route == u"esc")
            QTest::keyClick(s.window->Controls().ListView1, Qt::Key_Escape);
        else
            s.window->close();

        QVERIFY(!s.window->isVisible());
        QCOMPARE(s.desktop.messages.size(), 1);
        const MessageRequest& question = s.desktop.messages[0];
        QCOMPARE(question.text, QStringLiteral("データが変更されています。保存しますか？"));
        QCOMPARE(question.title, QStringLiteral("保存の確認"));
        QCOMPARE(question.buttons, MessageRequest::Buttons::YesNo);
        QCOMPARE(question.defaultAnswer, MessageRequest::Answer::Yes);
        QCOMPARE(question.icon, QMessageBox::NoIcon);
        if (yes)
            s.VerifySavedAs(Swapped(kEntries, 1, 2));
        else
            s.VerifyDiscarded();
    }

    void downThenUpStillAsks()
    {
        Session s;
        s.Select(2);
        s.window->itemDown_Click();
        s.window->itemUp_Click();
        QCOMPARE(s.Rows(), kEntries);
        QVERIFY(s.window->ListChanged());
        s.desktop.answers = {MessageRequest::Answer::No};
        s.window->CmdOK_Click(1);
        QCOMPARE(s.desktop.messages.size(), 1);
        QCOMPARE(s.desktop.messages[0].title, QStringLiteral("保存の確認"));
        s.VerifyDiscarded();
    }

    void titleEditedToEmptyIsSavedEmpty()
    {
        Session s;
        QVERIFY(s.ShowActive());
        s.RetypeTitle(1, QString());
        QVERIFY(s.window->ListChanged());
        QCOMPARE(s.Row(1)[0], QString());
        s.window->CmdOK_Click(0);
        QList<QStringList> expected = kEntries;
        expected[0][0] = QString();
        s.VerifySavedAs(expected);
    }

    void titleThatCannotBeStoredIsRefused_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("bad");
        QTest::addColumn<QString>("named");
        QTest::addRow("wave dash") << u"A〜B"_s << u"〜"_s << u"「〜」(U+301C)"_s;
        QTest::addRow("double quote") << u"say \"hi\""_s << u"\""_s << u"「\"」(U+0022)"_s;
        QTest::addRow("line feed") << u"two\nlines"_s << u"\n"_s << u"「改行」(U+000A)"_s;
        QTest::addRow("outside the BMP") << u"x😀"_s << u"😀"_s << u"「😀」(U+1F600)"_s;
        // The first one the file cannot hold is named, whichever kind it is.
        QTest::addRow("wave dash before a quote") << u"〜\""_s << u"〜"_s << u"(U+301C)"_s;
    }

    // A refused title is named, the row keeps its title, and what was typed comes back in
    // the editor to be mended; nothing else waits on it.
    void titleThatCannotBeStoredIsRefused()
    {
        QFETCH(QString, typed);
        QFETCH(QString, bad);
        QFETCH(QString, named);
        Session s;
        QVERIFY(s.ShowActive());
        s.Select(1);
        s.window->itemDown_Click();
        s.TypeTitle(3, typed);
        QCOMPARE(s.desktop.messages.size(), 1);
        const MessageRequest& message = s.desktop.messages[0];
        QCOMPARE(message.title, u"Cofferly"_s);
        QCOMPARE(message.icon, QMessageBox::Warning);
        QCOMPARE(message.buttons, MessageRequest::Buttons::Ok);
        QVERIFY2(message.text.startsWith(u"タイトルに"_s), qPrintable(message.text));
        QVERIFY2(message.text.contains(named), qPrintable(message.text));
        QCOMPARE(s.Rows(), Swapped(kEntries, 1, 2)); // the title is kept, the move stays
        QLineEdit* editor = s.OpenEditor(3);
        QVERIFY(editor);
        QCOMPARE(editor->text(), typed);
        QCOMPARE(editor->selectedText(), bad);

        // A move or a save asked for meanwhile waits: the title is refused again.
        s.window->itemDown_Click();
        s.window->CmdOK_Click(0);
        QCOMPARE(s.desktop.messages.size(), 3);
        QVERIFY(s.window->isVisible());
        QCOMPARE(s.Rows(), Swapped(kEntries, 1, 2));
        editor = s.OpenEditor(3);
        QVERIFY(editor);
        QCOMPARE(editor->text(), typed);

        // Mended into a look-alike the file can hold, it is taken as typed.
        editor->setText(u"A～B"_s);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(!s.window->Controls().ListView1->IsEditing());
        QCOMPARE(s.desktop.messages.size(), 3);
        QCOMPARE(s.Row(3)[0], u"A～B"_s);
        s.window->CmdOK_Click(0);
        QList<QStringList> expected = Swapped(kEntries, 1, 2);
        expected[2][0] = u"A～B"_s;
        s.VerifySavedAs(expected);
    }

    void enterSavesAndEscDiscards()
    {
        {
            // As the main window opens it: modal, until the window closes itself.
            Session s;
            s.Select(2);
            s.window->itemDown_Click();
            QCOMPARE(s.ExecPressing(Qt::Key_Return), int(QDialog::Accepted));
            s.VerifySavedAs(Swapped(kEntries, 2, 3));
            QCOMPARE(s.desktop.messages.size(), 0);
        }
        {
            Session s;
            QVERIFY(s.ShowActive());
            QTest::keyClick(s.window->Controls().ListView1, Qt::Key_Escape);
            QVERIFY(!s.window->isVisible());
            QCOMPARE(s.desktop.messages.size(), 0);
            s.VerifyDiscarded();
        }
    }

    void enterEndingAnEditDoesNotSave()
    {
        Session s;
        QVERIFY(s.ShowActive());
        s.RetypeTitle(2, QStringLiteral("私用"));
        QVERIFY(s.window->isVisible());
        // The next Enter, with no edit open, is the save button's.
        QTest::keyClick(s.window->Controls().ListView1, Qt::Key_Return);
        QList<QStringList> expected = kEntries;
        expected[1][0] = QStringLiteral("私用");
        s.VerifySavedAs(expected);
    }

    void openEditEndsBeforeMoveOrSave()
    {
        Session s;
        QVERIFY(s.ShowActive());
        s.Select(1);
        QLineEdit* editor = s.EditTitle(1);
        QVERIFY(editor);
        editor->setText(QStringLiteral("メール (私用)"));
        s.window->Controls().itemDown->trigger();
        QVERIFY(!s.window->Controls().ListView1->IsEditing());
        QList<QStringList> expected = Swapped(kEntries, 1, 2);
        expected[1][0] = QStringLiteral("メール (私用)");
        QCOMPARE(s.Rows(), expected);

        editor = s.EditTitle(4);
        QVERIFY(editor);
        editor->setText(QStringLiteral("店"));
        QTest::keyClick(editor, Qt::Key_S, Qt::ControlModifier);
        expected[3][0] = QStringLiteral("店");
        s.VerifySavedAs(expected);
    }

    void rightPressSelectsRowBeforeMenuOpens()
    {
        Session s;
        QVERIFY(s.ShowActive());
        QWidget* viewport = s.window->Controls().ListView1->viewport();
        const QPoint onRow3 =
            s.window->Controls()
                .ListView1->visualItemRect(s.window->Controls().ListView1->topLevelItem(2))
                .center();
        s.Select(1);
        QTest::mousePress(viewport, Qt::RightButton, {}, onRow3);
        QCOMPARE(s.Selected(), 3);
        QVERIFY(!QApplication::activePopupWidget());

        QTest::mouseRelease(viewport, Qt::RightButton, {}, onRow3);
        QTRY_COMPARE(QApplication::activePopupWidget(), s.window->Controls().popup);
        QTest::mouseClick(
            s.window->Controls().popup, Qt::LeftButton, {},
            s.window->Controls().popup->actionGeometry(s.window->Controls().itemUp).center());
        QTRY_VERIFY(!QApplication::activePopupWidget());
        QCOMPARE(s.Rows(), Swapped(kEntries, 2, 3));
        QCOMPARE(s.Selected(), 2);

        // Over empty space no row stays selected, and the menu's moves change nothing.
        const QPoint below(onRow3.x(), viewport->height() - 2);
        QVERIFY(!s.window->Controls().ListView1->itemAt(below));
        QTest::mousePress(viewport, Qt::RightButton, {}, below);
        QCOMPARE(s.Selected(), 0);
        QTest::mouseRelease(viewport, Qt::RightButton, {}, below);
        QTRY_COMPARE(QApplication::activePopupWidget(), s.window->Controls().popup);
        s.window->Controls().popup->close();
        s.window->itemUp_Click();
        QCOMPARE(s.Rows(), Swapped(kEntries, 2, 3));
        QCOMPARE(s.desktop.beeps, 0);
    }

    // A Yes to the save question hands the rows back; the save asks nothing more.
    void yesToTheQuestionSavesWithoutAnotherQuestion()
    {
        {
            Session s;
            QVERIFY(s.ShowActive());
            s.window->CmdOK_Click(0);
            s.VerifySavedAs(kEntries);
            QCOMPARE(s.desktop.messages.size(), 0);
        }
        {
            Session s;
            QVERIFY(s.ShowActive());
            s.Select(1);
            s.window->itemDown_Click();
            s.desktop.answers = {MessageRequest::Answer::Yes};
            s.window->CmdOK_Click(1);
            s.VerifySavedAs(Swapped(kEntries, 1, 2));
            QCOMPARE(s.desktop.messages.size(), 1);
        }
    }

    // Shown again (a save that failed is tried again), the window has its rows as they
    // stood, goes on from there, and still counts them as changed.
    void shownAgainKeepsItsRows()
    {
        Session s;
        s.Select(1);
        s.window->itemDown_Click();
        QCOMPARE(s.ExecPressing(Qt::Key_Return), int(QDialog::Accepted));
        QCOMPARE(s.Handed(), Swapped(kEntries, 1, 2));

        QList<QStringList> shownAgain;
        QCOMPARE(s.Exec([&s, &shownAgain] {
            shownAgain = s.Rows();
            s.window->itemDown_Click(); // row 2 still selected: the entry goes on down
            QTest::keyClick(s.window->Controls().ListView1, Qt::Key_Return);
        }),
                 int(QDialog::Accepted));
        QCOMPARE(shownAgain, Swapped(kEntries, 1, 2));
        QCOMPARE(s.Handed(), Swapped(Swapped(kEntries, 1, 2), 2, 3));

        // Discarded now, the rows are still unsaved changes: the question comes.
        s.desktop.answers = {MessageRequest::Answer::No};
        QCOMPARE(s.ExecPressing(Qt::Key_Escape), int(QDialog::Rejected));
        QCOMPARE(s.desktop.messages.size(), 1);
        QCOMPARE(s.desktop.messages[0].title, QStringLiteral("保存の確認"));
    }
};

QTEST_MAIN(TestSortWindow)
#include "tst_sort_window.moc"

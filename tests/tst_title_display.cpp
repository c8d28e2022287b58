// Picking a title, the entry display, the open list's images and indents, and the
// edit panel's text boxes selecting their text when they get the focus.
#include "resources/item_images.h"
#include "support/window_driver.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QMenu>
#include <QSignalSpy>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using WindowDriver::Displayed;

namespace {

const QList<QStringList> kEntries = {
    {u"Work"_s, {}, {}, {}},
    {u"Bank"_s, u"me-1"_s, u"p w-2-3"_s, u"https://bank.example/ a"_s},
    {u"Mail"_s, u"m"_s, u"x"_s, {}},
    {u"Web"_s, {}, {}, u"example.org"_s}};

QStringList Shown(const QStringList& entry)
{
    return {entry[1], entry[2], entry[3], entry[3]};
}

// Opens the list and clicks item k, as a user does with the mouse.
void PickFromList(Fm_Cofferly& w, int k)
{
    w.Controls().IComboTitle->showPopup();
    QAbstractItemView* view = w.Controls().IComboTitle->view();
    QVERIFY(QTest::qWaitForWindowExposed(view->window()));
    const QRect rect = view->visualRect(view->model()->index(k - 1, 0));
    QVERIFY(rect.isValid());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    QTRY_VERIFY(!view->isVisible());
}

} // namespace

class TestTitleDisplay : public QObject {
    Q_OBJECT
private slots:
    void keyboardPickShowsTheEntry()
    {
        MainWindowFixture f(kEntries);
        auto [dir, desktop, w] = f.Parts();
        QCOMPARE(Displayed(w), Shown(kEntries[0]));
        QSignalSpy picks(w.Controls().IComboTitle, &TitleSelector::Click);
        for (int k : {2, 3, 4}) {
            QTest::keyClick(w.Controls().IComboTitle, Qt::Key_Down);
            QCOMPARE(w.Controls().IComboTitle->SelectedIndex(), k);
            QCOMPARE(Displayed(w), Shown(kEntries[k - 1]));
        }
        QTest::keyClick(w.Controls().IComboTitle, Qt::Key_Up);
        QCOMPARE(Displayed(w), Shown(kEntries[2]));
        QCOMPARE(picks.size(), 4);
        QCOMPARE(desktop.beeps, 0);
    }

    void mousePickFromTheOpenListShowsTheEntry()
    {
        MainWindowFixture f(kEntries);
        auto [dir, desktop, w] = f.Parts();
        QVERIFY(WindowDriver::ShowActive(w));
        PickFromList(w, 2);
        QCOMPARE(w.Controls().IComboTitle->SelectedIndex(), 2);
        QCOMPARE(Displayed(w), Shown(kEntries[1]));
        PickFromList(w, 1);
        QCOMPARE(Displayed(w), Shown(kEntries[0]));
    }

    // After a delete the display is empty on item 1; picking that same item shows it again.
    void pickingTheSelectedItemAgainShowsIt()
    {
        MainWindowFixture f(kEntries);
        auto [dir, desktop, w] = f.Parts();
        desktop.answers.push_back(MessageRequest::Answer::Yes);
        QVERIFY(WindowDriver::ShowActive(w));
        // Deleting entry 1 leaves item 1 selected, now the entry "Bank", with nothing shown.
        QTest::mouseClick(w.Controls().Bt_Del, Qt::LeftButton);
        QCOMPARE(w.Controls().IComboTitle->SelectedIndex(), 1);
        QCOMPARE(w.Controls().IComboTitle->Text(), kEntries[1][0]);
        QCOMPARE(Displayed(w), QStringList({{}, {}, {}, {}}));
        PickFromList(w, 1);
        QCOMPARE(Displayed(w), Shown(kEntries[1]));
    }

    // A selection made from code is no pick: the display and the copy buttons stay as they were.
    void selectingFromCodeShowsNothing()
    {
        MainWindowFixture f(kEntries);
        auto [dir, desktop, w] = f.Parts();
        QTest::keyClick(w.Controls().IComboTitle, Qt::Key_Down);
        QSignalSpy picks(w.Controls().IComboTitle, &TitleSelector::Click);
        w.Controls().IComboTitle->SelectItem(3);
        QCOMPARE(w.Controls().IComboTitle->SelectedIndex(), 3);
        QCOMPARE(w.Controls().IComboTitle->currentText(), u"Mail"_s);
        QCOMPARE(picks.size(), 0);
        QCOMPARE(Displayed(w), Shown(kEntries[1]));
        // Copies read the display, not the table.
        QTest::mouseClick(w.Controls().Bt_Clip[0], Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), u"me"_s);
    }

    // A pick ends a copy run: the next plain click starts over with the first piece.
    void pickResetsACopyRun()
    {
        MainWindowFixture f(kEntries);
        auto [dir, desktop, w] = f.Parts();
        QTest::keyClick(w.Controls().IComboTitle, Qt::Key_Down);
        QTest::mouseClick(w.Controls().Bt_Clip[1], Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), u"p w"_s);
        QTest::mouseClick(w.Controls().Bt_Clip[1], Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), u"2"_s);
        w.IComboTitle_Click();
        QCOMPARE(Displayed(w), Shown(kEntries[1]));
        QTest::mouseClick(w.Controls().Bt_Clip[1], Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), u"p w"_s);
        QCOMPARE(w.Controls().LbClipBoard->text(), u"p w"_s);
    }

    // Groups stand as unindented folders, every other entry as an indented sheet of paper.
    void openListShowsImagesAndIndents()
    {
        const QList<QStringList> entries = {
            {u"Group"_s, {}, {}, {}},        {u"Ordinary"_s, u"i"_s, u"p"_s, u"u"_s},
            {u"Only URL"_s, {}, {}, u"u"_s}, {u"Only PW"_s, {}, u"p"_s, {}},
            {u"Only ID"_s, u"i"_s, {}, {}},  {{}, {}, {}, {}},
            {u"Spaces"_s, u" "_s, {}, {}}};
        MainWindowFixture f(entries);
        auto [dir, desktop, w] = f.Parts();
        VERIFY_STORED(w, dir, entries);
        const QImage folder = ItemImages::Icon(ItemImage::Folder).pixmap(16).toImage();
        const QImage sheet = ItemImages::Icon(ItemImage::Sheet).pixmap(16).toImage();
        QVERIFY(folder != sheet);
        for (int i = 1; i <= entries.size(); ++i) {
            const bool group =
                (entries[i - 1][1] + entries[i - 1][2] + entries[i - 1][3]).isEmpty();
            QCOMPARE(w.Controls().IComboTitle->itemIcon(i - 1).pixmap(16).toImage(),
                     group ? folder : sheet);
        }
        // The open list draws an indented item wider by its indent than the same text unindented.
        QAbstractItemView* view = w.Controls().IComboTitle->view();
        QStyleOptionViewItem option;
        option.initFrom(view);
        const auto hint = [&](int row) {
            return view->itemDelegate()->sizeHint(option, view->model()->index(row, 0)).width();
        };
        w.Controls().IComboTitle->setItemText(0, u"Same"_s);
        w.Controls().IComboTitle->setItemText(1, u"Same"_s);
        QVERIFY(hint(1) > hint(0));
    }

    // Labels show the texts as they are: no markup, no access keys.
    void labelsShowTextsLiterally()
    {
        const QStringList entry{u"T"_s, u"<b>x</b>"_s, u"a&b&&c"_s, u"<i>u</i>&amp;"_s};
        MainWindowFixture f({entry});
        auto [dir, desktop, w] = f.Parts();
        QVERIFY(WindowDriver::ShowActive(w));
        QTest::mouseClick(w.Controls().Bt_Clip[0], Qt::LeftButton, Qt::ShiftModifier);
        for (QLabel* label : {w.Controls().Lb_data[0], w.Controls().Lb_data[1],
                              w.Controls().Lb_data[2], w.Controls().LbClipBoard}) {
            QCOMPARE(label->textFormat(), Qt::PlainText);
            // Rendered as rich text, "<b>x</b>" would be as narrow as one letter.
            QVERIFY(label->sizeHint().width() >=
                    label->fontMetrics().horizontalAdvance(label->text()));
        }
        QCOMPARE(Displayed(w), Shown(entry));
        QCOMPARE(w.Controls().LbClipBoard->text(), u"<b>x</b>"_s);
    }

    // A text box that gets the focus selects its whole text, whichever way the focus came.
    void textBoxSelectsAllOnFocus()
    {
        const QStringList entry{u"タイトル"_s, u"abc"_s, {}, u"https://example.com/x"_s};
        MainWindowFixture f({entry});
        auto [dir, desktop, w] = f.Parts();
        QVERIFY(WindowDriver::ShowActive(w));
        QTest::mouseClick(w.Controls().Bt_Edit, Qt::LeftButton);

        // From code: entering the mode focuses the title box.
        QTRY_COMPARE(QApplication::focusWidget(), w.Controls().Tx_Data[0]);
        QCOMPARE(w.Controls().Tx_Data[0]->selectedText(), entry[0]);

        // By the Tab key; an empty box selects nothing and keeps the caret at the start.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w.Controls().Tx_Data[1]);
        QCOMPARE(w.Controls().Tx_Data[1]->selectedText(), entry[1]);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w.Controls().Tx_Data[2]);
        QVERIFY(!w.Controls().Tx_Data[2]->hasSelectedText());
        QCOMPARE(w.Controls().Tx_Data[2]->cursorPosition(), 0);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(w.Controls().Tx_Data[1]->selectedText(), entry[1]);

        // By a mouse click in the middle of the text.
        QTest::mouseClick(w.Controls().Tx_Data[3], Qt::LeftButton, {}, QPoint(20, 5));
        QCOMPARE(QApplication::focusWidget(), w.Controls().Tx_Data[3]);
        QTRY_COMPARE(w.Controls().Tx_Data[3]->selectedText(), entry[3]);

        // From code again, after a key has replaced a selection.
        w.Controls().Tx_Data[0]->setFocus();
        QTest::keyClick(w.Controls().Tx_Data[0], Qt::Key_Z);
        QCOMPARE(w.Controls().Tx_Data[0]->text(), u"z"_s);
        w.Controls().Tx_Data[1]->setFocus();
        w.Controls().Tx_Data[0]->setFocus(Qt::OtherFocusReason);
        QCOMPARE(w.Controls().Tx_Data[0]->selectedText(), u"z"_s);

        // A context menu closing, or the window becoming active again, hands the focus back
        // without selecting: a paste from the menu goes where the caret stood.
        w.Controls().Tx_Data[3]->setFocus(Qt::OtherFocusReason);
        w.Controls().Tx_Data[3]->setCursorPosition(5);
        QMenu menu(&w);
        menu.addAction(u"x"_s);
        menu.popup(w.Controls().Tx_Data[3]->mapToGlobal(QPoint(5, 5)));
        QTRY_VERIFY(menu.isVisible());
        menu.close();
        QTRY_COMPARE(QApplication::focusWidget(), w.Controls().Tx_Data[3]);
        QVERIFY(!w.Controls().Tx_Data[3]->hasSelectedText());
        QCOMPARE(w.Controls().Tx_Data[3]->cursorPosition(), 5);
        QWidget other;
        other.show();
        other.activateWindow();
        QTRY_VERIFY(other.isActiveWindow());
        w.activateWindow();
        QTRY_VERIFY(w.isActiveWindow());
        QTRY_COMPARE(QApplication::focusWidget(), w.Controls().Tx_Data[3]);
        QVERIFY(!w.Controls().Tx_Data[3]->hasSelectedText());
        QCOMPARE(w.Controls().Tx_Data[3]->cursorPosition(), 5);

        // Calling the handler selects the whole text too, wherever the caret stood.
        w.Controls().Tx_Data[3]->setCursorPosition(3);
        w.Tx_Data_GotFocus(3);
        QCOMPARE(w.Controls().Tx_Data[3]->selectedText(), entry[3]);
        QCOMPARE(w.Controls().Tx_Data[3]->selectionStart(), 0);
    }
};

QTEST_MAIN(TestTitleDisplay)
#include "tst_title_display.moc"

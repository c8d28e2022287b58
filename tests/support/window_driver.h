#pragma once

// Small steps the window-level suites share: picking a title the way a user does, typing
// into the edit panel, and checking that the table, the title selector and the data file
// agree with what a test expects.

#include "main_window/fm_cofferly.h"
#include "resources/item_image.h"
#include "support/test_support.h"

#include <QApplication>
#include <QtTest>
#include <memory>
#include <tuple>

// One main window over a program directory of its own whose data file holds `entries` at
// the given position, or the bytes given; `before` keeps the file's bytes as written.
struct MainWindowFixture {
    explicit MainWindowFixture(const QList<QStringList>& entries, int top = 1500, int left = 3000)
        : MainWindowFixture(TestFiles::Make(top, left, entries))
    {
    }
    explicit MainWindowFixture(const QByteArray& file) : dir(file), before(file)
    {
        opened = std::make_unique<OpenedWindow>(dir.path(), desktop);
        w = opened->window.get();
    }
    // The directory, the desktop and the window, to bind to names of the test's own:
    // `auto [dir, desktop, w] = f.Parts();`
    std::tuple<ProgramDir&, RecordingDesktop&, Fm_Cofferly&> Parts() { return {dir, desktop, *w}; }

    ProgramDir dir;
    RecordingDesktop desktop;
    QByteArray before;
    std::unique_ptr<OpenedWindow> opened;
    Fm_Cofferly* w = nullptr;
};

namespace WindowDriver {

// The commit button's captions in add and in edit mode.
inline const QString kAdd = QStringLiteral("追 加");
inline const QString kEdit = QStringLiteral("確 定");

inline void Click(QPushButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

// Enters add mode, or edit mode, by its button.
inline void EnterMode(Fm_Cofferly& w, bool add)
{
    Click(add ? w.Controls().Bt_Add : w.Controls().Bt_Edit);
}

// The entries after `typed` is committed with entry `selected` selected: added after it in
// add mode, put in its place in edit mode.
inline QList<QStringList> Committed(QList<QStringList> entries, bool add, int selected,
                                    const QStringList& typed)
{
    if (add)
        entries.insert(selected, typed);
    else
        entries[selected - 1] = typed;
    return entries;
}

// Shows the window and waits until it has the focus, so focus and keys behave as on a desktop.
inline bool ShowActive(Fm_Cofferly& w)
{
    w.show();
    if (!QTest::qWaitForWindowExposed(&w))
        return false;
    w.activateWindow();
    return QTest::qWaitForWindowActive(&w);
}

// Picks item k with the keyboard on the title selector: every step is a user pick, so the
// entry display follows (item 1 needs no step: start-up shows it).
inline void Pick(Fm_Cofferly& w, int k)
{
    QTest::keyClick(w.Controls().IComboTitle, Qt::Key_Home);
    for (int i = 1; i < k; ++i)
        QTest::keyClick(w.Controls().IComboTitle, Qt::Key_Down);
}

// Types `text` key by key; characters without a key of their own arrive as a key event
// carrying the text, the way a composed character does.
inline void TypeText(QWidget* box, const QString& text)
{
    for (qsizetype at = 0; at < text.size();) {
        const qsizetype len = text[at].isHighSurrogate() && at + 1 < text.size() ? 2 : 1;
        const QString ch = text.mid(at, len);
        if (len == 1 && ch[0].unicode() >= 0x20 && ch[0].unicode() < 0x7f)
            QTest::keyClick(box, ch[0].toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, ch, Qt::NoModifier);
        at += len;
    }
}

// Replaces the text of each box with the given one, as typed.
inline void Type(Fm_Cofferly& w, const QStringList& texts)
{
    for (int i = 0; i < 4; ++i) {
        w.Controls().Tx_Data[i]->selectAll();
        QTest::keyClick(w.Controls().Tx_Data[i], Qt::Key_Delete);
        TypeText(w.Controls().Tx_Data[i], texts[i]);
    }
}

// Puts the texts into the boxes at once, as a paste would.
inline void SetPanel(Fm_Cofferly& w, const QStringList& texts)
{
    for (int i = 0; i < 4; ++i)
        w.Controls().Tx_Data[i]->setText(texts[i]);
}

inline QStringList TextsInPanel(const Fm_Cofferly& w)
{
    return {w.Controls().Tx_Data[0]->text(), w.Controls().Tx_Data[1]->text(),
            w.Controls().Tx_Data[2]->text(), w.Controls().Tx_Data[3]->text()};
}

inline QStringList Displayed(const Fm_Cofferly& w)
{
    return {w.Controls().Lb_data[0]->text(), w.Controls().Lb_data[1]->text(),
            w.Controls().Lb_data[2]->text(), w.Controls().Lb_data[2]->toolTip()};
}

// The data file as the program must write it for the window's current position.
inline QByteArray FileFor(const Fm_Cofferly& w, const QList<QStringList>& entries)
{
    return TestFiles::Make(w.y() * 15, w.x() * 15, entries);
}

// The table, the selector's items (text, image, indent) and the file all hold `entries`.
inline void VerifyStored(const Fm_Cofferly& w, const ProgramDir& dir,
                         const QList<QStringList>& entries)
{
    QCOMPARE(TestFiles::AsLists(w.Table()), entries);
    QCOMPARE(w.Controls().IComboTitle->ListCount(), int(entries.size()));
    for (int i = 1; i <= entries.size(); ++i) {
        const QStringList& e = entries[i - 1];
        QCOMPARE(w.Controls().IComboTitle->itemText(i - 1), e[0]);
        const bool group = (e[1] + e[2] + e[3]).isEmpty();
        QCOMPARE(w.Controls().IComboTitle->Image(i), group ? ItemImage::Folder : ItemImage::Sheet);
        QCOMPARE(w.Controls().IComboTitle->Indent(i), group ? 0 : 1);
    }
    QCOMPARE(dir.data(), FileFor(w, entries));
}

// The browsing-mode states of every control the modes and copy runs switch.
inline void VerifyBrowsing(const Fm_Cofferly& w)
{
    const std::pair<const char*, QWidget*> controls[] = {
        {"IComboTitle", w.Controls().IComboTitle}, {"Bt_Clip(0)", w.Controls().Bt_Clip[0]},
        {"Bt_Clip(1)", w.Controls().Bt_Clip[1]},   {"CmdURL", w.Controls().CmdURL},
        {"Bt_Add", w.Controls().Bt_Add},           {"Bt_Edit", w.Controls().Bt_Edit},
        {"Bt_Del", w.Controls().Bt_Del},           {"cmdTop", w.Controls().cmdTop},
        {"cmdSort", w.Controls().cmdSort}};
    for (const auto& [name, control] : controls)
        QVERIFY2(control->isEnabled(), name);
    for (QLineEdit* box : w.Controls().Tx_Data)
        QVERIFY(!box->isEnabled());
    QVERIFY(!w.Controls().Bt_OK[0]->isEnabled());
    QVERIFY(!w.Controls().Bt_OK[1]->isEnabled());
    QCOMPARE(w.DefaultButton(), w.Controls().Bt_Clip[0]);
    QVERIFY(w.Controls().Bt_Clip[0]->isDefault());
    QVERIFY(!w.Controls().Bt_OK[0]->isDefault());
    // The edit panel is out of view.
    QVERIFY(w.Controls().Tx_Data[0]->geometry().top() >= w.height());
}

// The states a mode gives the window; add and edit differ only in the commit caption.
inline void VerifyMode(const Fm_Cofferly& w, const QString& caption)
{
    for (QWidget* c : std::initializer_list<QWidget*>{
             w.Controls().IComboTitle, w.Controls().Bt_Clip[0], w.Controls().Bt_Clip[1],
             w.Controls().CmdURL, w.Controls().Bt_Add, w.Controls().Bt_Edit, w.Controls().Bt_Del,
             w.Controls().cmdSort})
        QVERIFY(!c->isEnabled());
    for (QLineEdit* box : w.Controls().Tx_Data)
        QVERIFY(box->isEnabled());
    QVERIFY(w.Controls().cmdTop->isEnabled());
    QVERIFY(w.Controls().Bt_OK[0]->isEnabled());
    QVERIFY(w.Controls().Bt_OK[1]->isEnabled());
    QCOMPARE(w.Controls().Bt_OK[0]->text(), caption);
    QCOMPARE(w.DefaultButton(), w.Controls().Bt_OK[0]);
    QCOMPARE(w.CancelButton(), w.Controls().Bt_OK[1]);
    // The whole edit panel is in view.
    for (QWidget* c : std::initializer_list<QWidget*>{w.Controls().Tx_Data[3], w.Controls().Label2,
                                                      w.Controls().Bt_OK[0], w.Controls().Bt_OK[1],
                                                      w.Controls().Label1[6]})
        QVERIFY(c->geometry().bottom() < w.height());
}

} // namespace WindowDriver

// Stops the calling test when a shared check failed.
#define VERIFY_STORED(w, dir, ...)                                                                 \
    do {                                                                                           \
        WindowDriver::VerifyStored(w, dir, __VA_ARGS__);                                           \
        if (QTest::currentTestFailed())                                                            \
            return;                                                                                \
    } while (false)

#define VERIFY_MODE(w, caption)                                                                    \
    do {                                                                                           \
        WindowDriver::VerifyMode(w, caption);                                                      \
        if (QTest::currentTestFailed())                                                            \
            return;                                                                                \
    } while (false)

#define VERIFY_BROWSING(w)                                                                         \
    do {                                                                                           \
        WindowDriver::VerifyBrowsing(w);                                                           \
        if (QTest::currentTestFailed())                                                            \
            return;                                                                                \
    } while (false)

#pragma once

#include "resources/item_images.h"
#include "sort_window/frm_sort.h"
#include "sort_window/sort_list.h"
#include "support/test_support.h"

#include <QLineEdit>
#include <QPointer>
#include <QtTest>
#include <memory>

inline const QList<QStringList> kEntries{
    {QStringLiteral("メール"), QStringLiteral("taro"), QStringLiteral("pw-1"),
     QStringLiteral("https://mail.example.jp/")},
    {QStringLiteral("仕事"), QString(), QString(), QString()},
    {QStringLiteral("銀行"), QStringLiteral("b-id"), QStringLiteral("p,w 2"), QString()},
    {QStringLiteral("ショップ"), QString(), QStringLiteral("pw-4"), QString()},
};

// The sort window alone over `entries`: what it hands back is read through Rows() and
// result(); the saving is the main window's, tested with it.
struct Session {
    explicit Session(const QList<QStringList>& entries = kEntries)
        : given(entries), window(std::make_unique<frmSort>(TestFiles::FromLists(entries), desktop))
    {
    }

    QStringList Row(int k) const
    {
        const QTreeWidgetItem* row = window->Controls().ListView1->topLevelItem(k - 1);
        return {row->text(0), row->text(1), row->text(2), row->text(3)};
    }
    QList<QStringList> Rows() const
    {
        QList<QStringList> rows;
        for (int k = 1; k <= window->Controls().ListView1->topLevelItemCount(); ++k)
            rows << Row(k);
        return rows;
    }
    // What the window hands back to be saved.
    QList<QStringList> Handed() const { return TestFiles::AsLists(window->Rows()); }
    // Runs the window modal, as the main window opens it, with `act` done from inside; the
    // result it closes with.
    int Exec(const std::function<void()>& act)
    {
        QTimer::singleShot(0, window.get(), act);
        return window->exec();
    }
    int ExecPressing(Qt::Key key)
    {
        return Exec([this, key] { QTest::keyClick(window->Controls().ListView1, key); });
    }
    bool ShowsImage(int k, ItemImage image) const
    {
        const QIcon icon = window->Controls().ListView1->topLevelItem(k - 1)->icon(0);
        return icon.pixmap(16).toImage() == ItemImages::Icon(image).pixmap(16).toImage();
    }
    void Select(int k)
    {
        window->Controls().ListView1->setCurrentItem(
            window->Controls().ListView1->topLevelItem(k - 1));
    }
    int Selected() const
    {
        const auto selected = window->Controls().ListView1->selectedItems();
        return selected.size() == 1
                   ? window->Controls().ListView1->indexOfTopLevelItem(selected[0]) + 1
                   : 0;
    }
    bool ShowActive()
    {
        window->show();
        return QTest::qWaitForWindowActive(window.get());
    }
    // Opens the in-place editor on row k's title.
    QLineEdit* EditTitle(int k)
    {
        return window->Controls().ListView1->EditTitle(
            window->Controls().ListView1->topLevelItem(k - 1));
    }
    // Types `text` over row k's title in place and presses Enter.
    void TypeTitle(int k, const QString& text)
    {
        QLineEdit* editor = EditTitle(k);
        QVERIFY(editor);
        editor->setText(text);
        QPointer<QLineEdit> typedInto = editor;
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(typedInto.isNull()); // the edit has ended
    }
    // Retypes row k's title in place, and the edit ends.
    void RetypeTitle(int k, const QString& text)
    {
        TypeTitle(k, text);
        QTRY_VERIFY(!window->Controls().ListView1->IsEditing());
    }
    // The editor open on row k's title, if any.
    QLineEdit* OpenEditor(int k) const
    {
        QTreeWidgetItem* row = window->Controls().ListView1->topLevelItem(k - 1);
        return qobject_cast<QLineEdit*>(window->Controls().ListView1->itemWidget(row, 0));
    }
    // The window closed with a save, handing back `entries`.
    void VerifySavedAs(const QList<QStringList>& entries) const
    {
        QVERIFY(!window->isVisible());
        QCOMPARE(window->result(), int(QDialog::Accepted));
        QCOMPARE(Handed(), entries);
    }
    // The window closed without a save; nothing is handed back.
    void VerifyDiscarded() const
    {
        QVERIFY(!window->isVisible());
        QCOMPARE(window->result(), int(QDialog::Rejected));
    }

    const QList<QStringList> given;
    RecordingDesktop desktop;
    std::unique_ptr<frmSort> window;
};

inline QList<QStringList> Swapped(QList<QStringList> entries, int i, int j)
{
    entries.swapItemsAt(i - 1, j - 1);
    return entries;
}

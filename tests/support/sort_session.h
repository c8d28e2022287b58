#pragma once

#include "resources/item_images.h"
#include "sort_window/frm_sort.h"
#include "sort_window/sort_list.h"
#include "sort_window/sort_owner.h"
#include "store/load_save.h"
#include "support/test_support.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QtTest>
#include <memory>

// The main window as the sort window sees it: the real LoadData and SaveData over a
// program directory of the test's own; the title list and the reset are recorded.
class FakeMainWindow : public SortOwner, public DataHost {
public:
    FakeMainWindow(EntryTable& table, const ProgramDir& dir) : table_(table), dir_(dir) {}

    bool SaveData() override
    {
        ++saves;
        return !failSave && !::SaveData(table_, *this);
    }
    bool LoadData() override
    {
        ++loads;
        return !::LoadData(table_, *this);
    }
    void ResetTitleDisplay() override { ++resets; }

    QString ProgramDirectory() const override { return dir_.path(); }
    DataFile::Position WindowPosition() const override { return {1500, 3000}; }
    void MoveWindow(DataFile::Position) override {}
    void ClearTitles() override { titles.clear(); }
    void AppendTitle(const QString& text, ItemImage, int) override { titles << text; }
    void SelectTitle(int) override {}

    QStringList titles;
    int saves = 0, loads = 0, resets = 0;
    bool failSave = false;

private:
    EntryTable& table_;
    const ProgramDir& dir_;
};

inline const QList<QStringList> kEntries{
    {QStringLiteral("メール"), QStringLiteral("taro"), QStringLiteral("pw-1"),
     QStringLiteral("https://mail.example.jp/")},
    {QStringLiteral("仕事"), QString(), QString(), QString()},
    {QStringLiteral("銀行"), QStringLiteral("b-id"), QStringLiteral("p,w 2"), QString()},
    {QStringLiteral("ショップ"), QString(), QStringLiteral("pw-4"), QString()},
};

// One opening of the sort window over a data file holding `entries`.
struct Session {
    explicit Session(const QList<QStringList>& entries = kEntries)
    {
        dir.writeData(TestFiles::Make(1500, 3000, entries));
        original = dir.data();
        if (!main.LoadData())
            qFatal("test data file did not load");
        window = std::make_unique<frmSort>(table, main, desktop);
    }

    QStringList Row(int k) const
    {
        const QTreeWidgetItem* row = window->ListView1->topLevelItem(k - 1);
        return {row->text(0), row->text(1), row->text(2), row->text(3)};
    }
    QList<QStringList> Rows() const
    {
        QList<QStringList> rows;
        for (int k = 1; k <= window->ListView1->topLevelItemCount(); ++k)
            rows << Row(k);
        return rows;
    }
    QList<QStringList> Table() const
    {
        QList<QStringList> entries;
        for (int k = 1; k <= table.DataCount; ++k)
            entries << QStringList{table.DataTitle[k], table.DataID[k], table.DataPW[k],
                                   table.DataURL[k]};
        return entries;
    }
    bool ShowsImage(int k, ItemImage image) const
    {
        const QIcon icon = window->ListView1->topLevelItem(k - 1)->icon(0);
        return icon.pixmap(16).toImage() == ItemImages::Icon(image).pixmap(16).toImage();
    }
    void Select(int k)
    {
        window->ListView1->setCurrentItem(window->ListView1->topLevelItem(k - 1));
    }
    int Selected() const
    {
        const auto selected = window->ListView1->selectedItems();
        return selected.size() == 1 ? window->ListView1->indexOfTopLevelItem(selected[0]) + 1 : 0;
    }
    bool ShowActive()
    {
        window->show();
        return QTest::qWaitForWindowActive(window.get());
    }
    // Opens the in-place editor on row k's title.
    QLineEdit* EditTitle(int k)
    {
        return window->ListView1->EditTitle(window->ListView1->topLevelItem(k - 1));
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
        QTRY_VERIFY(!window->ListView1->IsEditing());
    }
    // The editor open on row k's title, if any.
    QLineEdit* OpenEditor(int k) const
    {
        QTreeWidgetItem* row = window->ListView1->topLevelItem(k - 1);
        return qobject_cast<QLineEdit*>(window->ListView1->itemWidget(row, 0));
    }
    void VerifySavedAs(const QList<QStringList>& entries) const
    {
        QCOMPARE(Table(), entries);
        QCOMPARE(dir.data(), TestFiles::Make(1500, 3000, entries));
        QCOMPARE(dir.backup(), original);
        QCOMPARE(main.titles.size(), entries.size());
        QCOMPARE(main.resets, 1);
    }
    void VerifyUntouched() const
    {
        QCOMPARE(Table(), kEntries);
        QCOMPARE(dir.data(), original);
        QVERIFY(!QFileInfo::exists(dir.backupPath()));
        QCOMPARE(main.saves, 0);
    }

    ProgramDir dir;
    RecordingDesktop desktop;
    EntryTable table;
    FakeMainWindow main{table, dir};
    QByteArray original;
    std::unique_ptr<frmSort> window;
};

inline QList<QStringList> Swapped(QList<QStringList> entries, int i, int j)
{
    entries.swapItemsAt(i - 1, j - 1);
    return entries;
}

#pragma once

#include "sort_controls.h"
#include "store/entry.h"

#include <QDialog>
#include <QPoint>

class Desktop;
class QTreeWidgetItem;

// The modal window in which the user reorders the entries and retypes titles. It works on
// its own rows and hands them back only when the user saves: exec() then returns Accepted
// and Rows() holds the new list; discarding returns Rejected. The window can be shown
// again with its rows as they stand, for a save that failed to be tried again.
class frmSort : public QDialog, private SortControls {
    Q_OBJECT

public:
    frmSort(const Entries& entries, Desktop& desktop, QWidget* parent = nullptr);

    Entries Rows() const;
    bool ListChanged() const { return listChanged_; }
    const SortControls& Controls() const { return *this; }

    void CmdOK_Click(int Index);
    void menu_SaveClose_Click();
    void menu_Cancel_Click();
    void itemUp_Click();
    void itemDown_Click();
    void ListView1_AfterLabelEdit();
    void ListView1_MouseDown(Qt::MouseButton Button, QPoint position);
    void ListView1_MouseUp(Qt::MouseButton Button, QPoint position);

    // Esc and the close box both arrive here; they discard like CmdOK(1).
    void reject() override;
    int exec() override;

private:
    void CreateControls();
    void CreateMenus();
    void Form_Load(const Entries& entries);
    void Form_Unload();
    void SaveProcedure();
    void Unload();

    QTreeWidgetItem* SelectedRow() const;
    void MoveSelectedRow(int step);
    void ExchangeRows(int i, int j);
    void SelectMovedRow(QTreeWidgetItem* row);
    void ShowRowImage(QTreeWidgetItem* row);
    bool EndTitleEdits();
    void RefuseTitle(QTreeWidgetItem* row, const QString& titleBefore, char32_t character);

    Desktop& desktop_;
    bool listChanged_ = false;
    bool closing_ = false; // the close procedure has begun
    bool saving_ = false;  // the rows are to be saved
};

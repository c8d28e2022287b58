#pragma once

#include "store/entry.h"

#include <QDialog>
#include <QPoint>
#include <array>

class Desktop;
class QAction;
class QMenu;
class QMenuBar;
class QPushButton;
class QTreeWidgetItem;
class SortList;

// The modal window in which the user reorders the entries and retypes titles. It works on
// its own rows and hands them back only when the user saves: exec() then returns Accepted
// and Rows() holds the new list; discarding returns Rejected. The window can be shown
// again with its rows as they stand, for a save that failed to be tried again.
class frmSort : public QDialog {
    Q_OBJECT

public:
    frmSort(const Entries& entries, Desktop& desktop, QWidget* parent = nullptr);

    Entries Rows() const;

    SortList* ListView1 = nullptr;
    std::array<QPushButton*, 2> CmdOK{}; // 0 saves, 1 discards
    QMenuBar* menuBar = nullptr;
    QMenu* menu_file = nullptr;
    QAction* menu_SaveClose = nullptr;
    QAction* menu_Cancel = nullptr;
    QMenu* popup = nullptr; // the edit menu, also the list's context menu
    QAction* itemUp = nullptr;
    QAction* itemDown = nullptr;

    bool ListChanged() const { return listChanged_; }

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

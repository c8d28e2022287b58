#include "frm_sort.h"

#include "platform/desktop.h"
#include "platform/text_selection.h"
#include "resources/character_name.h"
#include "resources/texts.h"
#include "sort_list.h"
#include "store/data_file.h"

#include <QLineEdit>
#include <QMenu>

void frmSort::CmdOK_Click(int Index)
{
    // A title still being typed belongs to the list that is saved or asked about; one
    // that was refused is being mended, and the window stays.
    if (!EndTitleEdits())
        return;
    if (Index == 0)
        SaveProcedure();
    else
        Unload();
}

void frmSort::menu_SaveClose_Click()
{
    CmdOK_Click(0);
}

void frmSort::menu_Cancel_Click()
{
    CmdOK_Click(1);
}

void frmSort::reject()
{
    CmdOK_Click(1);
}

int frmSort::exec()
{
    closing_ = false;
    saving_ = false;
    return QDialog::exec();
}

// The rows are handed back to be saved; the window closes.
void frmSort::SaveProcedure()
{
    saving_ = true;
    Unload();
}

// Closing the window, however it was asked for, runs the close procedure once. The save
// procedure asks to close too; while the close procedure is already running (after a Yes
// to the save question) that request is the one already under way.
void frmSort::Unload()
{
    if (closing_)
        return;
    closing_ = true;
    Form_Unload();
    done(saving_ ? QDialog::Accepted : QDialog::Rejected);
}

void frmSort::Form_Unload()
{
    if (listChanged_ && !saving_) {
        const auto answer = desktop_.Ask(this, Texts::SaveQuestion, MessageRequest::Answer::Yes,
                                         Texts::SaveQuestionTitle, QMessageBox::NoIcon);
        if (answer == MessageRequest::Answer::Yes)
            SaveProcedure();
    }
}

QTreeWidgetItem* frmSort::SelectedRow() const
{
    const QList<QTreeWidgetItem*> selected = ListView1->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

void frmSort::itemDown_Click()
{
    MoveSelectedRow(1);
}

void frmSort::itemUp_Click()
{
    MoveSelectedRow(-1);
}

// Exchanges the selected row with the one `step` rows away (1 below, -1 above); past either
// end there is none, and the user hears a beep.
void frmSort::MoveSelectedRow(int step)
{
    // A title still being typed stays with the row it was typed for.
    if (!EndTitleEdits())
        return;
    // With no row selected there is nothing to exchange.
    QTreeWidgetItem* row = SelectedRow();
    if (!row)
        return;
    const int i = ListView1->indexOfTopLevelItem(row) + 1;
    const int j = i + step;
    if (j < 1 || j > ListView1->topLevelItemCount()) {
        desktop_.Beep();
        return;
    }
    ExchangeRows(i, j);
    SelectMovedRow(ListView1->topLevelItem(j - 1));
    listChanged_ = true;
}

// Exchanges the title and the three cells of rows i and j (1-based); each row's image
// follows from its new cells.
void frmSort::ExchangeRows(int i, int j)
{
    QTreeWidgetItem* rowI = ListView1->topLevelItem(i - 1);
    QTreeWidgetItem* rowJ = ListView1->topLevelItem(j - 1);
    std::array<QString, 4> copied;
    for (int column = 0; column < 4; ++column)
        copied[column] = rowI->text(column);
    for (int column = 0; column < 4; ++column)
        rowI->setText(column, rowJ->text(column));
    ShowRowImage(rowI);
    for (int column = 0; column < 4; ++column)
        rowJ->setText(column, copied[column]);
    ShowRowImage(rowJ);
}

// The selection follows the moved entry, but the list does not scroll after it: moved out
// of view, it stays selected out of view.
void frmSort::SelectMovedRow(QTreeWidgetItem* row)
{
    const bool scrolls = ListView1->hasAutoScroll();
    ListView1->setAutoScroll(false);
    ListView1->setCurrentItem(row);
    ListView1->setAutoScroll(scrolls);
}

void frmSort::ListView1_AfterLabelEdit()
{
    listChanged_ = true;
    QTreeWidgetItem* row = ListView1->EditedRow();
    if (!row)
        return;
    if (const auto refused = DataFile::FirstUnstorable(row->text(0)))
        RefuseTitle(row, ListView1->TitleBeforeEdit(), *refused);
}

// Ends any open title edit; false when a title was refused and its editor is open again,
// so what was asked for waits until the user has mended it.
bool frmSort::EndTitleEdits()
{
    ListView1->EndEdits();
    return !ListView1->IsEditing();
}

// The data file could not hold the title as typed: say which character, keep the title the
// row had, and give the typed title back in the editor with that character selected.
void frmSort::RefuseTitle(QTreeWidgetItem* row, const QString& titleBefore, char32_t character)
{
    const QString typed = row->text(0);
    row->setText(0, titleBefore);
    desktop_.Tell(this, Texts::UnstorableMessage(Texts::ColumnTitle, character),
                  QMessageBox::Warning);
    if (QLineEdit* editor = ListView1->EditTitle(row)) {
        editor->setText(typed);
        TextSelection::SelectCharacter(editor, character);
    }
}

void frmSort::ListView1_MouseDown(Qt::MouseButton Button, QPoint position)
{
    if (Button != Qt::RightButton)
        return;
    // The context menu acts on the row that was clicked; over empty space no row is left
    // selected, and a move then changes nothing.
    if (QTreeWidgetItem* hit = ListView1->itemAt(position)) {
        ListView1->setCurrentItem(hit);
    } else {
        ListView1->clearSelection();
        ListView1->setCurrentItem(nullptr);
    }
}

void frmSort::ListView1_MouseUp(Qt::MouseButton Button, QPoint position)
{
    if (Button != Qt::RightButton)
        return;
    popup->popup(ListView1->viewport()->mapToGlobal(position));
}

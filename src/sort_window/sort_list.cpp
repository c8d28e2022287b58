#include "sort_list.h"

#include <QKeyEvent>
#include <QMouseEvent>

SortList::SortList(QWidget* parent) : QTreeWidget(parent)
{
    // The window shows its own menu on the right button, on release.
    setContextMenuPolicy(Qt::PreventContextMenu);
}

bool SortList::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    // ID, PW and URL are shown, never retyped here.
    if (index.isValid() && index.column() != 0)
        return false;
    const bool wasEditing = state() == EditingState;
    const bool result = QTreeWidget::edit(index, trigger, event);
    if (!wasEditing && state() == EditingState) {
        editing_ = true;
        editedRow_ = itemFromIndex(index);
        titleBeforeEdit_ = editedRow_ ? editedRow_->text(0) : QString();
    }
    return result;
}

void SortList::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    QTreeWidget::closeEditor(editor, hint);
    // The delegate may report the same editor closing more than once (Enter, then the
    // focus leaving it); one edit ends once.
    if (!editing_ || state() == EditingState)
        return;
    editing_ = false;
    emit LabelEditEnded();
}

void SortList::keyPressEvent(QKeyEvent* event)
{
    // Enter that ends an in-place edit reaches the list after the editor let it pass; it
    // must end the edit only, not press the window's default button.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (false) {
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void SortList::mousePressEvent(QMouseEvent* event)
{
    emit MouseDown(event->button(), event->position().toPoint());
    if (event->button() == Qt::RightButton)
        event->accept();
    else
        QTreeWidget::mousePressEvent(event);
}

void SortList::mouseReleaseEvent(QMouseEvent* event)
{
    emit MouseUp(event->button(), event->position().toPoint());
    if (event->button() == Qt::RightButton)
        event->accept();
    else
        QTreeWidget::mouseReleaseEvent(event);
}

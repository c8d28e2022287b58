#include "sort_list.h"

#include <QLineEdit>
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
    const bool result = QTreeWidget::edit(index, trigger, event);
    // The title is taken as the edit begins: the editor may write a new one before the
    // window hears that the edit ended.
    QWidget* editor = index.isValid() ? indexWidget(index) : nullptr;
    if (editor && !open_.contains(editor)) {
        QTreeWidgetItem* row = itemFromIndex(index);
        open_.insert(editor, {row, row->text(0)});
    }
    return result;
}

void SortList::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    // Each edit begun through edit() ends once, with the row and title recorded for it.
    const auto found = open_.constFind(editor);
    const bool known = found != open_.constEnd();
    if (known) {
        ended_ = *found;
        open_.erase(found);
    }
    QTreeWidget::closeEditor(editor, hint);
    if (known)
        emit LabelEditEnded();
}

void SortList::EndEdits()
{
    const QList<QWidget*> editors = open_.keys();
    for (QWidget* editor : editors) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

QLineEdit* SortList::EditTitle(QTreeWidgetItem* row)
{
    editItem(row, 0);
    return qobject_cast<QLineEdit*>(indexWidget(indexFromItem(row, 0)));
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

#pragma once

#include <QHash>
#include <QPoint>
#include <QString>
#include <QTreeWidget>

class QLineEdit;

// The report list of the sort window: rows of title, ID, PW and URL. Only the title can be
// retyped in place; the list tells when such an edit ends and remembers the row and the
// title it had before, so the window can put back a title it refuses. Right-button presses
// and releases are handed to the window instead of the list's own selection handling.
class SortList : public QTreeWidget {
    Q_OBJECT

public:
    explicit SortList(QWidget* parent = nullptr);

    bool IsEditing() const { return !open_.isEmpty(); }
    // Ends an open in-place edit, keeping what was typed, as a click elsewhere would.
    void EndEdits();
    // Opens the in-place editor on the row's title; nullptr when it could not be opened.
    QLineEdit* EditTitle(QTreeWidgetItem* row);
    // The row of the latest in-place edit to end, and its title when that edit began.
    QTreeWidgetItem* EditedRow() const { return ended_.row; }
    const QString& TitleBeforeEdit() const { return ended_.titleBefore; }

signals:
    void LabelEditEnded();
    void MouseDown(Qt::MouseButton button, QPoint position);
    void MouseUp(Qt::MouseButton button, QPoint position);

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct Edit {
        QTreeWidgetItem* row = nullptr;
        QString titleBefore;
    };
    QHash<QWidget*, Edit> open_; // by editor
    Edit ended_;
};

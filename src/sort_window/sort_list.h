#pragma once

#include <QPoint>
#include <QString>
#include <QTreeWidget>

// The report list of the sort window: rows of title, ID, PW and URL. Only the title can be
// retyped in place; the list tells when such an edit ends and remembers the row and the
// title it had before, so the window can put back a title it refuses. Right-button presses
// and releases are handed to the window instead of the list's own selection handling.
class SortList : public QTreeWidget {
    Q_OBJECT

public:
    explicit SortList(QWidget* parent = nullptr);

    bool IsEditing() const { return editing_; }
    // The row of the latest in-place edit and its title when that edit began.
    QTreeWidgetItem* EditedRow() const { return editedRow_; }
    const QString& TitleBeforeEdit() const { return titleBeforeEdit_; }

signals:
    void LabelEditEnded();
    void MouseDown(Qt::MouseButton button, QPoint position);
    void MouseUp(Qt::MouseButton button, QPoint position);

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool editing_ = false;
    QTreeWidgetItem* editedRow_ = nullptr;
    QString titleBeforeEdit_;
};

#pragma once

#include "store/entry_search.h"

#include <QDialog>

class QLineEdit;
class QTreeWidget;

// The search window: a line of text, with Japanese input, over the entries it finds,
// which follow each keystroke. Up and Down move in the list, Enter picks, Esc closes. The
// text goes with the window.
class SearchBox : public QDialog {
    Q_OBJECT
public:
    SearchBox(const Entries& table, QWidget* parent);

    // The entry picked with Enter, 1-based; 0 until one is.
    int Picked() const { return picked_; }
    QLineEdit* Text() const { return text_; }
    QTreeWidget* Results() const { return results_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Refill();
    void Pick();

    EntrySearch::Index index_;
    QLineEdit* text_;
    QTreeWidget* results_;
    int picked_ = 0;
};

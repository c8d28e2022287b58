#include "search_box.h"

#include "resources/fonts.h"
#include "resources/texts.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kPositionRole = Qt::UserRole;

} // namespace

SearchBox::SearchBox(const Entries& table, QWidget* parent)
    : QDialog(parent), index_(table), text_(new QLineEdit(this)), results_(new QTreeWidget(this))
{
    setWindowTitle(Texts::SearchWindowTitle);
    setFont(Fonts::Gothic(9));
    auto* label = new QLabel(Texts::SearchTextLabel, this);
    label->setBuddy(text_);
    // Unlike the title selector, the line takes input methods: a title is typed in kana.
    text_->setAttribute(Qt::WA_InputMethodEnabled);
    text_->setToolTip(Texts::SearchTextTip);
    text_->installEventFilter(this);
    results_->setColumnCount(2);
    results_->setHeaderLabels({Texts::ColumnTitle, Texts::SearchGroupColumn});
    results_->setRootIsDecorated(false);
    results_->setUniformRowHeights(true);
    results_->header()->setStretchLastSection(true);
    results_->setColumnWidth(0, 220);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(text_);
    layout->addWidget(results_);
    resize(420, 320);

    connect(text_, &QLineEdit::textChanged, this, &SearchBox::Refill);
    connect(text_, &QLineEdit::returnPressed, this, &SearchBox::Pick);
    connect(results_, &QTreeWidget::itemActivated, this, &SearchBox::Pick);
}

void SearchBox::Refill()
{
    results_->clear();
    QList<QTreeWidgetItem*> rows;
    for (const EntrySearch::Hit& hit : index_.Find(text_->text())) {
        auto* row = new QTreeWidgetItem({hit.title, hit.heading});
        row->setData(0, kPositionRole, hit.position);
        rows << row;
    }
    results_->addTopLevelItems(rows);
    if (!rows.isEmpty())
        results_->setCurrentItem(rows.first());
}

void SearchBox::Pick()
{
    const QTreeWidgetItem* row = results_->currentItem();
    if (!row)
        return;
    picked_ = row->data(0, kPositionRole).toInt();
    accept();
}

// Up and Down move in the list while the typing goes on in the line.
bool SearchBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == text_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const int count = results_->topLevelItemCount();
        if ((key == Qt::Key_Up || key == Qt::Key_Down) && count > 0) {
            const int now = results_->indexOfTopLevelItem(results_->currentItem());
            const int next = std::clamp(now + (key == Qt::Key_Down ? 1 : -1), 0, count - 1);
            results_->setCurrentItem(results_->topLevelItem(next));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

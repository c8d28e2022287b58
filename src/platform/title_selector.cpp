#include "title_selector.h"

#include "resources/item_image.h"
#include "resources/item_images.h"

#include <QStandardItemModel>
#include <QStyledItemDelegate>

namespace {

constexpr int kIndentRole = Qt::UserRole + 1;
constexpr int kImageRole = Qt::UserRole + 2;
constexpr int kIndentStepPx = 16;

// Draws each item of the open list shifted right by its indentation level.
class IndentDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem shifted(option);
        shifted.rect.adjust(index.data(kIndentRole).toInt() * kIndentStepPx, 0, 0, 0);
        QStyledItemDelegate::paint(painter, shifted, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.rwidth() += index.data(kIndentRole).toInt() * kIndentStepPx;
        return size;
    }
};

} // namespace

TitleSelector::TitleSelector(QWidget* parent) : QComboBox(parent)
{
    setEditable(false);
    setMaxVisibleItems(20);
    setIconSize(QSize(16, 16));
    setItemDelegate(new IndentDelegate(this));
    connect(this, &QComboBox::activated, this, &TitleSelector::Click);
}

void TitleSelector::Clear()
{
    clear();
}

void TitleSelector::AddItem(const QString& text, ItemImage image, int indent)
{
    // One complete row at a time: the list is refilled after every change, and each
    // separate change to a row would be announced to the view on its own.
    auto* item = new QStandardItem(ItemImages::Icon(image), text);
    item->setData(indent, kIndentRole);
    item->setData(static_cast<int>(image), kImageRole);
    static_cast<QStandardItemModel*>(model())->appendRow(item);
}

int TitleSelector::ListCount() const
{
    return count();
}

void TitleSelector::SelectItem(int index)
{
    setCurrentIndex(index - 1);
}

int TitleSelector::SelectedIndex() const
{
    return currentIndex() + 1;
}

QString TitleSelector::Text() const
{
    return currentIndex() >= 0 ? itemText(currentIndex()) : QString();
}

int TitleSelector::Indent(int index) const
{
    return itemData(index - 1, kIndentRole).toInt();
}

ItemImage TitleSelector::Image(int index) const
{
    return static_cast<ItemImage>(itemData(index - 1, kImageRole).toInt());
}

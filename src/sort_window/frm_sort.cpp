#include "frm_sort.h"

#include "platform/units.h"
#include "resources/item_images.h"
#include "resources/texts.h"
#include "sort_list.h"

#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

// A row holds an entry's four texts: the title, then ID, PW and URL.
Entry EntryOf(const QTreeWidgetItem* row)
{
    return {row->text(0), row->text(1), row->text(2), row->text(3)};
}

QRect Twips(int left, int top, int width, int height)
{
    return {Units::Px(left), Units::Px(top), Units::Px(width), Units::Px(height)};
}

} // namespace

frmSort::frmSort(const Entries& entries, Desktop& desktop, QWidget* parent)
    : QDialog(parent), desktop_(desktop)
{
    setWindowTitle(Texts::SortCaptionWindow);
    setWindowIcon(WindowIcons::Sort());
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    CreateMenus();
    CreateControls();
    Form_Load(entries);
}

void frmSort::CreateMenus()
{
    menuBar = new QMenuBar(this);

    menu_file = menuBar->addMenu(Texts::FileMenu);
    menu_SaveClose = menu_file->addAction(Texts::SaveCloseItem);
    menu_SaveClose->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    menu_Cancel = menu_file->addAction(Texts::CancelItem);
    menu_Cancel->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    popup = menuBar->addMenu(Texts::EditMenu);
    itemUp = popup->addAction(Texts::UpItem);
    itemUp->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_U));
    itemDown = popup->addAction(Texts::DownItem);
    itemDown->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));

    connect(menu_SaveClose, &QAction::triggered, this, &frmSort::menu_SaveClose_Click);
    connect(menu_Cancel, &QAction::triggered, this, &frmSort::menu_Cancel_Click);
    connect(itemUp, &QAction::triggered, this, &frmSort::itemUp_Click);
    connect(itemDown, &QAction::triggered, this, &frmSort::itemDown_Click);
}

void frmSort::CreateControls()
{
    // The client area keeps its designed size below the menu bar; nothing in it reacts to
    // a resize, so the window is not resizable.
    auto* client = new QWidget(this);
    client->setFixedSize(Units::Px(9135), Units::Px(5535));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar);
    layout->addWidget(client);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    ListView1 = new SortList(client);
    ListView1->setGeometry(Twips(60, 0, 9030, 5100));
    ListView1->setRootIsDecorated(false);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSortingEnabled(false);
    ListView1->setEditTriggers(QAbstractItemView::DoubleClicked |
                               QAbstractItemView::SelectedClicked |
                               QAbstractItemView::EditKeyPressed);
    ListView1->setIconSize(QSize(16, 16));
    ListView1->header()->setStretchLastSection(false);
    ListView1->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ListView1->header()->setSectionsMovable(false);

    const std::array<QString, 2> captions{Texts::SaveButton, Texts::DiscardButton};
    const std::array<QRect, 2> places{Twips(6390, 5175, 1260, 330), Twips(7770, 5175, 1260, 330)};
    for (int index = 0; index < 2; ++index) {
        CmdOK[index] = new QPushButton(captions[index], client);
        CmdOK[index]->setGeometry(places[index]);
        connect(CmdOK[index], &QPushButton::clicked, this, [this, index] { CmdOK_Click(index); });
    }
    // Enter presses the save button; Esc reaches reject(), which discards.
    CmdOK[0]->setDefault(true);

    setTabOrder(ListView1, CmdOK[0]);
    setTabOrder(CmdOK[0], CmdOK[1]);
    ListView1->setFocus();

    connect(ListView1, &SortList::LabelEditEnded, this, &frmSort::ListView1_AfterLabelEdit);
    connect(ListView1, &SortList::MouseDown, this, &frmSort::ListView1_MouseDown);
    connect(ListView1, &SortList::MouseUp, this, &frmSort::ListView1_MouseUp);
}

void frmSort::Form_Load(const Entries& entries)
{
    listChanged_ = false;

    const std::array<QString, 4> headers{Texts::ColumnTitle, Texts::ColumnId, Texts::ColumnPw,
                                         Texts::ColumnUrl};
    const std::array<int, 4> shares{4, 2, 2, 2}; // tenths of the list's width
    // The shares are of the width the rows are drawn in: inside the list's border, less a
    // vertical scroll bar, so that no column is ever cut off behind a horizontal one. The
    // last column takes up whatever is left when no vertical scroll bar is needed.
    const int rowsWidth = ListView1->maximumViewportSize().width() -
                          ListView1->verticalScrollBar()->sizeHint().width();
    ListView1->setColumnCount(4);
    ListView1->setHeaderLabels({headers.begin(), headers.end()});
    for (int column = 0; column < 4; ++column)
        ListView1->setColumnWidth(column, rowsWidth * shares[column] / 10);
    ListView1->header()->setStretchLastSection(true);

    for (const Entry& entry : entries) {
        auto* row = new QTreeWidgetItem(QStringList{entry.title, entry.id, entry.pw, entry.url});
        row->setFlags(row->flags() | Qt::ItemIsEditable);
        ShowRowImage(row);
        ListView1->addTopLevelItem(row);
    }
}

void frmSort::ShowRowImage(QTreeWidgetItem* row)
{
    row->setIcon(0, ItemImages::Icon(ImageFor(EntryOf(row).IsGroup())));
}

Entries frmSort::Rows() const
{
    Entries rows;
    for (int k = 0; k < ListView1->topLevelItemCount(); ++k)
        rows.append(EntryOf(ListView1->topLevelItem(k)));
    return rows;
}

// Builds the main window's controls at their places (twips, converted to pixels).
#include "caption_button.h"
#include "fm_cofferly.h"
#include "hint_label.h"
#include "platform/units.h"
#include "resources/fonts.h"
#include "resources/item_images.h"
#include "resources/texts.h"

#include <limits>

namespace {

void Place(QWidget* w, int left, int top, int width, int height)
{
    w->setGeometry(Units::Px(left), Units::Px(top), Units::Px(width), Units::Px(height));
}

QPushButton* Button(QWidget* parent, const QString& caption, const QString& tip, int left, int top,
                    int width, int height)
{
    auto* button = new QPushButton(caption, parent);
    button->setToolTip(tip);
    // Enter on a focused button presses that button, as on the desktop the layout was made for.
    button->setAutoDefault(true);
    Place(button, left, top, width, height);
    return button;
}

QLabel* Caption(QWidget* parent, const QString& text, int left, int top, int width, int height)
{
    auto* label = new QLabel(text, parent);
    Place(label, left, top, width, height);
    return label;
}

// A fixed caption is never cut: where this desktop's face is wider than the layout's, the
// label grows to the right, into the gap the layout leaves before the next control.
QLabel* StaticCaption(QWidget* parent, const QString& text, int left, int top, int width,
                      int height)
{
    QLabel* label = Caption(parent, text, left, top, width, height);
    label->resize(qMax(label->width(), label->sizeHint().width()), label->height());
    return label;
}

// Shows a user's text exactly: never as rich text, never with access keys.
QLabel* Display(QWidget* parent, const QString& text, int left, int top, int width, int height)
{
    auto* label = Caption(parent, text, left, top, width, height);
    label->setTextFormat(Qt::PlainText);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

QLineEdit* TextBox(QWidget* parent, int left, int top, int width, int height)
{
    auto* box = new QLineEdit(parent);
    // Texts have no length limit: a longer entry must not come back cut from an edit.
    box->setMaxLength(std::numeric_limits<int>::max());
    box->setFont(Fonts::Gothic(12));
    Place(box, left, top, width, height);
    return box;
}

} // namespace

void Fm_Cofferly::CreateControls()
{
    setWindowTitle(Texts::MainCaption);
    setWindowIcon(WindowIcons::Main());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(Fonts::Gothic(9));
    setFixedWidth(Units::Px(kClientWidth));

    // Top row
    IComboTitle = new TitleSelector(this);
    IComboTitle->setToolTip(Texts::TitleSelectorTip);
    Place(IComboTitle, 90, 60, 2850, 315);
    Bt_Add = Button(this, Texts::AddCaption, Texts::AddTip, 3060, 60, 795, 315);
    Bt_Edit = Button(this, Texts::EditCaption, Texts::EditTip, 3960, 60, 795, 315);
    Bt_Del = Button(this, Texts::DeleteCaption, Texts::DeleteTip, 4875, 60, 795, 315);

    // Entry display
    Frame1 = new TitledFrame(Texts::DataFrameCaption, this);
    Place(Frame1, 48, 408, 5280, 1365);
    Label1[0] = StaticCaption(Frame1, Texts::IdLabel, 165, 285, 225, 180);
    Lb_data[0] = Display(Frame1, Texts::NotEntered, 510, 225, 3045, 300);
    Bt_Clip[0] = Button(Frame1, Texts::CopyIdCaption, Texts::CopyIdTip, 3690, 225, 1464, 315);
    Label1[1] = StaticCaption(Frame1, Texts::PwLabel, 135, 630, 240, 180);
    Lb_data[1] = Display(Frame1, Texts::NotEntered, 510, 600, 3045, 285);
    Bt_Clip[1] = Button(Frame1, Texts::CopyPwCaption, Texts::CopyPwTip, 3690, 600, 1464, 315);
    Label1[5] = StaticCaption(Frame1, Texts::UrlLabel, 135, 1005, 690, 180);
    Lb_data[2] = Display(Frame1, Texts::PlaceholderUrl, 960, 960, 3045, 285);
    CmdURL = Button(Frame1, Texts::OpenUrlCaption, Texts::OpenUrlTip, 4080, 960, 1095, 315);
    for (QLabel* label : Lb_data)
        label->setFont(Fonts::Gothic(9.75));

    CreateLowerControls();
    // Decoration stays behind the controls it frames.
    Shape1->lower();
    SetDefaultButton(Bt_Clip[0]);
}

// TOP, the clipboard strip, Sort, and the edit panel below Line1.
void Fm_Cofferly::CreateLowerControls()
{
    // Always-on-top lamp and switch
    Shape2 = new FilledShape(this);
    Place(Shape2, 5415, 480, 270, 135);
    cmdTop = new StackedCaptionButton(Texts::TopCaption, this);
    cmdTop->setToolTip(Texts::TopTip);
    cmdTop->setAutoDefault(true);
    cmdTop->setFont(Fonts::Tahoma(9));
    Place(cmdTop, 5400, 615, 285, 1680);

    // Clipboard strip
    Shape1 = new OutlineShape(this);
    Place(Shape1, 60, 1815, 5235, 480);
    Label3 = Caption(this, Texts::ClipboardLabel, 300, 1980, 1515, 180);
    QFont stripFont = Fonts::Gothic(8.25);
    // The layout's proportional face fits this caption in its slot; a fixed-pitch fallback
    // needs its letters set a little closer to do the same.
    stripFont.setLetterSpacing(QFont::PercentageSpacing, 93);
    Label3->setFont(stripFont);
    LbClipBoard = Display(this, QString(), 1905, 1920, 2535, 255);
    LbClipBoard->setToolTip(Texts::ClipboardTip);
    cmdSort = Button(this, Texts::SortCaption, QString(), 4560, 1905, 600, 285);
    Line1 = new LineShape(this);
    Line1->setGeometry(Units::Px(105), Units::Px(2400), Units::Px(5640 - 105), 1);

    // Edit panel, below Line1
    Label1[4] = StaticCaption(this, Texts::HeadingLabel, 150, 2610, 495, 180);
    Tx_Data[0] = TextBox(this, 705, 2520, 3240, 360);
    Label1[3] = StaticCaption(this, Texts::EditIdLabel, 165, 3045, 240, 180);
    Tx_Data[1] = TextBox(this, 705, 2955, 3240, 372);
    Label1[2] = StaticCaption(this, Texts::PwLabel, 150, 3480, 240, 180);
    Tx_Data[2] = TextBox(this, 705, 3405, 3240, 372);
    Label1[6] = StaticCaption(this, Texts::UrlLabel, 165, 3930, 690, 180);
    Tx_Data[3] = TextBox(this, 930, 3840, 3750, 372);
    // Passwords and addresses are typed as they are, never through an input method.
    Tx_Data[2]->setAttribute(Qt::WA_InputMethodEnabled, false);
    Tx_Data[3]->setAttribute(Qt::WA_InputMethodEnabled, false);
    Label2 = new HintLabel(Texts::GroupHint, this);
    Place(Label2, 4035, 2550, 1620, 765);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Bt_OK[0] = Button(this, Texts::CommitCaptionAtStart, QString(), 4095, 3390, 765, 360);
    Bt_OK[1] = Button(this, Texts::BackCaption, QString(), 4920, 3390, 750, 360);
}

void Fm_Cofferly::SetTabOrder()
{
    QWidget* order[] = {IComboTitle, Bt_Clip[0], Bt_Clip[1], CmdURL,     cmdTop,
                        Bt_Add,      Bt_Edit,    Bt_Del,     Tx_Data[0], Tx_Data[1],
                        Tx_Data[2],  Tx_Data[3], Bt_OK[0],   Bt_OK[1],   cmdSort};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
}

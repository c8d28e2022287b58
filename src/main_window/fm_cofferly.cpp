#include "fm_cofferly.h"

#include "platform/stays_on_top.h"
#include "platform/units.h"
#include "platform/window_placement.h"
#include "resources/texts.h"
#include "sort_window/frm_sort.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QToolTip>

namespace {

constexpr int kClientHeight = 4290;
// The title bar and borders the two outer heights were measured with; the window system
// draws its own frame, so the client area takes what those heights left inside it.
constexpr int kFrameTwips = Fm_Cofferly::kEditHeight - kClientHeight;

const QColor kLampNormal(128, 128, 0);
const QColor kLampOnTop(255, 255, 0);

} // namespace

Fm_Cofferly::Fm_Cofferly(const QString& programDirectory, Desktop& desktop, QWidget* parent)
    : QWidget(parent), programDirectory_(programDirectory), desktop_(desktop)
{
    CreateControls();
    SetTabOrder();
    ConnectHandlers();
    // Where the window stands until a data file says otherwise.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, Units::Px(kEditHeight) / 2));
    }
    Form_Load();
}

void Fm_Cofferly::ConnectHandlers()
{
    connect(IComboTitle, &TitleSelector::Click, this, &Fm_Cofferly::IComboTitle_Click);
    for (int i = 0; i < 2; ++i) {
        connect(Bt_Clip[i], &QPushButton::clicked, this, [this, i] { Bt_Clip_Click(i); });
        connect(Bt_OK[i], &QPushButton::clicked, this, [this, i] { Bt_OK_Click(i); });
        Bt_Clip[i]->installEventFilter(this);
    }
    for (QLineEdit* box : Tx_Data)
        box->installEventFilter(this);
    Lb_data[2]->installEventFilter(this);
    connect(CmdURL, &QPushButton::clicked, this, &Fm_Cofferly::CmdURL_Click);
    connect(cmdTop, &QPushButton::clicked, this, &Fm_Cofferly::cmdTop_Click);
    connect(Bt_Add, &QPushButton::clicked, this, &Fm_Cofferly::Bt_Add_Click);
    connect(Bt_Edit, &QPushButton::clicked, this, &Fm_Cofferly::Bt_Edit_Click);
    connect(Bt_Del, &QPushButton::clicked, this, &Fm_Cofferly::Bt_Del_Click);
    connect(cmdSort, &QPushButton::clicked, this, &Fm_Cofferly::cmdSort_Click);
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, [this] { desktop_.ShowHelp(); });
}

void Fm_Cofferly::Form_Load()
{
    desktop_.SetAppTitle(Texts::AppTitle);
    desktop_.SetHelpFile(programDirectory_ + u'/' + Texts::HelpFileName);
    SetOuterHeight(kBrowsingHeight);
    if (!LoadData())
        return;
    OnTop = false;
    Shape2->SetFillColor(kLampNormal);
    if (IComboTitle->ListCount() >= 1) {
        IComboTitle->SelectItem(1);
        ShowEntry(1);
    }
    for (QLineEdit* box : Tx_Data)
        box->setEnabled(false);
    Bt_OK[0]->setEnabled(false);
    Bt_OK[1]->setEnabled(false);
}

void Fm_Cofferly::cmdTop_Click()
{
    if (OnTop) {
        OnTop = false;
        Shape2->SetFillColor(kLampNormal);
        StaysOnTop::Set(this, false);
    } else {
        OnTop = true;
        Shape2->SetFillColor(kLampOnTop);
        StaysOnTop::Set(this, true);
    }
}

void Fm_Cofferly::cmdSort_Click()
{
    frmSort sort(table_, *this, desktop_, this);
    sort.exec();
}

void Fm_Cofferly::Form_QueryUnload()
{
    SaveData();
}

void Fm_Cofferly::Form_Unload()
{
    SaveData();
}

void Fm_Cofferly::closeEvent(QCloseEvent* event)
{
    // After a reported file error nothing more is written: both files stay as they are.
    if (!ended_)
        Form_QueryUnload();
    if (!ended_)
        Form_Unload();
    event->accept();
}

void Fm_Cofferly::keyPressEvent(QKeyEvent* event)
{
    // Keys no control took: Enter presses the default button, Esc the cancel button.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    QPushButton* target = enter                            ? defaultButton_
                          : event->key() == Qt::Key_Escape ? cancelButton_
                                                           : nullptr;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (target && modifiers == Qt::NoModifier) {
        if (target->isEnabled())
            target->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool Fm_Cofferly::eventFilter(QObject* watched, QEvent* event)
{
    for (int i = 0; i < 2; ++i) {
        if (watched == Bt_Clip[i] && event->type() == QEvent::MouseButtonPress) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const Qt::KeyboardModifiers mods = mouse->modifiers();
            const int shift = (mods & Qt::ShiftModifier ? 1 : 0) |
                              (mods & Qt::ControlModifier ? 2 : 0) |
                              (mods & Qt::AltModifier ? 4 : 0);
            Bt_Clip_MouseDown(i, mouse->button(), shift);
        }
    }
    for (int i = 0; i < 4; ++i) {
        if (watched == Tx_Data[i] && event->type() == QEvent::FocusIn) {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            // Focus coming back from a closed menu or from another window is the same
            // focus resumed: selecting would make the next key or paste replace the text.
            if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
                continue;
            if (reason == Qt::MouseFocusReason) {
                // The press that gave the focus would place the caret and drop the
                // selection; select once it has been handled.
                QTimer::singleShot(0, Tx_Data[i], [this, i] { Tx_Data_GotFocus(i); });
            } else {
                Tx_Data_GotFocus(i);
            }
        }
    }
    if (watched == Lb_data[2] && event->type() == QEvent::ToolTip) {
        // The tooltip shows the address as it is, never as rich text.
        const QString tip = Lb_data[2]->toolTip();
        if (!tip.isEmpty()) {
            const auto* help = static_cast<QHelpEvent*>(event);
            QToolTip::showText(
                help->globalPos(),
                QStringLiteral("<p style='white-space:pre'>%1</p>").arg(tip.toHtmlEscaped()),
                Lb_data[2]);
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void Fm_Cofferly::SetOuterHeight(int twips)
{
    panelInView_.SetHeight(this, Units::Px(twips - kFrameTwips));
}

void Fm_Cofferly::SetDefaultButton(QPushButton* button)
{
    if (defaultButton_)
        defaultButton_->setDefault(false);
    defaultButton_ = button;
    button->setDefault(true);
}

void Fm_Cofferly::SetCancelButton(QPushButton* button)
{
    cancelButton_ = button;
}

void Fm_Cofferly::ShowEntry(int n)
{
    Lb_data[0]->setText(table_.DataID[n]);
    Lb_data[1]->setText(table_.DataPW[n]);
    Lb_data[2]->setText(table_.DataURL[n]);
    Lb_data[2]->setToolTip(table_.DataURL[n]);
}

void Fm_Cofferly::ClearEntryDisplay()
{
    for (QLabel* label : Lb_data)
        label->clear();
    Lb_data[2]->setToolTip(QString());
}

void Fm_Cofferly::ResetTitleDisplay()
{
    if (IComboTitle->ListCount() > 0)
        IComboTitle->SelectItem(1);
    ClearEntryDisplay();
}

bool Fm_Cofferly::SaveData()
{
    if (auto error = ::SaveData(table_, *this)) {
        Fail(*error);
        return false;
    }
    return true;
}

bool Fm_Cofferly::LoadData()
{
    if (auto error = ::LoadData(table_, *this)) {
        Fail(*error);
        return false;
    }
    return true;
}

void Fm_Cofferly::Fail(const StoreError& error)
{
    ended_ = true;
    const QString& text =
        error.kind == StoreError::Kind::Read ? Texts::FileReadFailed : Texts::FileWriteFailed;
    MessageRequest message;
    message.text = text.arg(error.path, error.reason);
    message.title = Texts::MessageTitle;
    message.icon = QMessageBox::Critical;
    desktop_.Show(this, message);
    hide();
    desktop_.EndProgram(1);
}

DataFile::Position Fm_Cofferly::WindowPosition() const
{
    return {Units::TwipsFromPx(y()), Units::TwipsFromPx(x())};
}

void Fm_Cofferly::MoveWindow(DataFile::Position position)
{
    move(WindowPlacement::OnCurrentScreens(
        {Units::PxFromTwips(position.left), Units::PxFromTwips(position.top)},
        frameGeometry().width()));
}

void Fm_Cofferly::ClearTitles()
{
    IComboTitle->Clear();
}

void Fm_Cofferly::AppendTitle(const QString& text, ItemImage image, int indent)
{
    IComboTitle->AddItem(text, image, indent);
}

void Fm_Cofferly::SelectTitle(int index)
{
    IComboTitle->SelectItem(index);
}

#include "fm_cofferly.h"

#include "platform/stays_on_top.h"
#include "platform/units.h"
#include "platform/window_placement.h"
#include "resources/item_image.h"
#include "resources/texts.h"
#include "sort_window/frm_sort.h"
#include "store_messages.h"

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
    if (!PrepareDataFile() || !LoadData())
        return;
    OnTop = false;
    Shape2->SetFillColor(kLampNormal);
    if (IComboTitle->ListCount() >= 1) {
        IComboTitle->SelectItem(1);
        ShowEntry(1);
    }
    SetMode(Mode::Browsing);
}

// A first start writes the default file. A data file that has gone missing beside its
// backup is never replaced by the default: the user decides whether the backup comes back.
bool Fm_Cofferly::PrepareDataFile()
{
    std::optional<StoreError> error;
    switch (FindDataFiles(programDirectory_)) {
    case StartFiles::DataFile:
        return true;
    case StartFiles::Neither:
        error = CreateDefaultFile(programDirectory_, WindowPosition(), Texts::NewGroupTitle);
        break;
    case StartFiles::BackupOnly: {
        const QString dir = AppDir(programDirectory_);
        MessageRequest question{
            Texts::RestoreQuestion.arg(dir + StoreFiles::Data, dir + StoreFiles::Backup),
            Texts::MessageTitle, MessageRequest::Buttons::YesNo, MessageRequest::Answer::Yes,
            QMessageBox::Question};
        // No parent: the window is not shown yet, and a box over it would have its native
        // window made before its stored position is applied, which the window manager
        // then takes as the position of its client area.
        if (desktop_.Show(nullptr, question) != MessageRequest::Answer::Yes) {
            End();
            return false;
        }
        error = RestoreBackup(programDirectory_);
        break;
    }
    }
    if (error) {
        Report(*error, true);
        return false;
    }
    return true;
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
    frmSort sort(entries_, desktop_, this);
    while (sort.exec() == QDialog::Accepted) {
        if (Commit(sort.Rows()) || ended_)
            break;
        // The save failed and was reported: the sort window comes back with its order.
    }
    if (!ended_)
        ResetTitleDisplay();
}

void Fm_Cofferly::Form_QueryUnload()
{
    SaveData(entries_, true);
}

void Fm_Cofferly::Form_Unload()
{
    SaveData(entries_, true);
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

void Fm_Cofferly::ShowEntry(int n)
{
    const Entry& entry = entries_[n - 1];
    Lb_data[0]->setText(entry.id);
    Lb_data[1]->setText(entry.pw);
    Lb_data[2]->setText(entry.url);
    Lb_data[2]->setToolTip(entry.url);
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

bool Fm_Cofferly::Commit(const Entries& entries)
{
    return SaveData(entries, false) && LoadData();
}

bool Fm_Cofferly::SaveData(const Entries& entries, bool ending)
{
    auto result = ::SaveData(programDirectory_, WindowPosition(), entries, read_);
    if (const auto* error = std::get_if<StoreError>(&result)) {
        Report(*error, ending);
        return false;
    }
    const Saved& saved = std::get<Saved>(result);
    read_ = saved.written;
    if (saved.otherVersionKept) {
        MessageRequest kept;
        kept.text = Texts::OtherVersionKept.arg(AppDir(programDirectory_) + StoreFiles::Data,
                                                AppDir(programDirectory_) + StoreFiles::Backup);
        kept.title = Texts::MessageTitle;
        kept.icon = QMessageBox::Information;
        desktop_.Show(this, kept);
    }
    return true;
}

// Reads the data file back into the window: the entries, the title selector with item 1
// selected, and the stored position. The entry display is left as it was.
bool Fm_Cofferly::LoadData()
{
    auto result = ::LoadData(programDirectory_);
    if (const auto* error = std::get_if<StoreError>(&result)) {
        Report(*error, true);
        return false;
    }
    Loaded& loaded = std::get<Loaded>(result);
    entries_ = std::move(loaded.contents.entries);
    read_ = loaded.read;
    MoveWindow(loaded.contents.position);
    IComboTitle->Clear();
    for (const Entry& entry : entries_) {
        const bool group = entry.IsGroup();
        IComboTitle->AddItem(entry.title, ImageFor(group), group ? 0 : 1);
    }
    if (!entries_.isEmpty())
        IComboTitle->SelectItem(1);
    return true;
}

// One message naming the file and the reason. A failure at start-up or at the close ends
// the program; one at a commit leaves it running with nothing changed.
void Fm_Cofferly::Report(const StoreError& error, bool ending)
{
    // A commit's save that could not even read the file first still leaves the program
    // running: its message must not say the program ends.
    const QString& text = !ending                                ? Texts::CommitWriteFailed
                          : error.kind == StoreError::Kind::Read ? Texts::FileReadFailed
                                                                 : Texts::FileWriteFailed;
    MessageRequest message;
    message.text = text.arg(error.path, StoreErrorReason(error));
    message.title = Texts::MessageTitle;
    message.icon = QMessageBox::Critical;
    desktop_.Show(this, message);
    if (ending)
        End();
}

void Fm_Cofferly::End()
{
    ended_ = true;
    hide();
    desktop_.EndProgram(1);
}

// Where the window stands for the data file: while the edit panel holds it raised, the
// place it goes back to.
DataFile::Position Fm_Cofferly::WindowPosition() const
{
    const QPoint home = panelInView_.Home(this);
    return {Units::TwipsFromPx(home.y()), Units::TwipsFromPx(home.x())};
}

// A stored position from which the window's title bar cannot be reached puts the window at
// the primary screen's top left corner. A window that already stands there for the data
// file (raised for the edit panel) stays where it is.
void Fm_Cofferly::MoveWindow(DataFile::Position position)
{
    const QPoint target = WindowPlacement::OnCurrentScreens(
        {Units::PxFromTwips(position.left), Units::PxFromTwips(position.top)},
        frameGeometry().width());
    if (target != panelInView_.Home(this))
        move(target);
}

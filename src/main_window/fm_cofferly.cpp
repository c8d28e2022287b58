#include "fm_cofferly.h"

#include "platform/units.h"
#include "platform/window_placement.h"
#include "resources/item_image.h"
#include "resources/store_messages.h"
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

} // namespace

Fm_Cofferly::Fm_Cofferly(DataSession& session, Desktop& desktop, QWidget* parent)
    : QWidget(parent), session_(session), desktop_(desktop)
{
    CreateControls();
    SetTabOrder();
    ConnectHandlers();
    CreateMenu();
    Form_Load();
}

DataFile::Position Fm_Cofferly::FirstPosition()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const QPoint topLeft = screen->availableGeometry().center() -
                           QPoint(Units::Px(kClientWidth) / 2, Units::Px(kEditHeight) / 2);
    return {Units::TwipsFromPx(topLeft.y()), Units::TwipsFromPx(topLeft.x())};
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
    clipboardTimer_.setSingleShot(true);
    clipboardTimer_.setTimerType(Qt::PreciseTimer);
    connect(&clipboardTimer_, &QTimer::timeout, this, &Fm_Cofferly::ClipboardWaitOver);
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, [this] { desktop_.ShowHelp(); });
    connect(&idleWatch_, &IdleWatch::Idle, this, &Fm_Cofferly::IdleWatch_Idle);
}

void Fm_Cofferly::Form_Load()
{
    desktop_.SetAppTitle(Texts::AppTitle);
    // The old help file where one is kept, else the read-me that comes with the program.
    const QString dir = session_.ProgramDirectory() + u'/';
    desktop_.SetHelpFiles({dir + Texts::HelpFileName, dir + Texts::ReadMeFileName});
    SetOuterHeight(kBrowsingHeight);
    state_.SetEncrypted(session_.Encrypted());
    LoadData();
    Carry(state_.Loaded());
}

void Fm_Cofferly::closeEvent(QCloseEvent* event)
{
    bool cancel = false;
    // After a reported file error nothing more is written: both files stay as they are.
    if (!ended_)
        Form_QueryUnload(cancel);
    if (cancel)
        event->ignore();
    else
        event->accept();
}

void Fm_Cofferly::keyPressEvent(QKeyEvent* event)
{
    // Keys no control took: Enter presses the default button, Esc the cancel button or ends
    // a copy run.
    using Key = MainWindowState::Key;
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool escape = event->key() == Qt::Key_Escape;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if ((enter || escape) && modifiers == Qt::NoModifier) {
        if (const auto effects = state_.KeyPressed(enter ? Key::Enter : Key::Escape)) {
            Carry(*effects);
            return;
        }
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

bool Fm_Cofferly::Commit(const Entries& entries)
{
    if (!ReportSave(session_.SaveData(WindowPosition(), entries), false))
        return false;
    LoadData();
    return true;
}

// Tells the user what a save did, when it failed or kept another program's version.
bool Fm_Cofferly::ReportSave(const std::variant<DataSession::SaveReport, StoreError>& result,
                             bool ending)
{
    if (const auto* error = std::get_if<StoreError>(&result)) {
        Report(*error, ending);
        return false;
    }
    const auto& saved = std::get<DataSession::SaveReport>(result);
    for (const QString& notice : SaveNotices(saved, session_.DataPath()))
        desktop_.Tell(this, notice, QMessageBox::Information);
    return true;
}

// Shows the session's entries: the title selector with item 1 selected, and the window at
// the stored position. The entry display is left as it was.
void Fm_Cofferly::LoadData()
{
    MoveWindow(session_.StoredPosition());
    FillTitles();
}

// The title selector holds the session's entries, with item 1 selected.
void Fm_Cofferly::FillTitles()
{
    IComboTitle->Clear();
    for (const Entry& entry : Table()) {
        const bool group = entry.IsGroup();
        IComboTitle->AddItem(entry.title, ImageFor(group), group ? 0 : 1);
    }
    if (!Table().isEmpty())
        IComboTitle->SelectItem(1);
}

// One message naming the file and the reason. A failure at start-up or at the close ends
// the program; one at a commit leaves it running with nothing changed.
void Fm_Cofferly::Report(const StoreError& error, bool ending)
{
    // A commit's save that could not even read the file first still leaves the program
    // running: its message must not say the program ends.
    desktop_.Tell(this, ending ? EndingFailureMessage(error) : CommitFailureMessage(error),
                  QMessageBox::Critical);
    if (ending) {
        ended_ = true;
        desktop_.EndProgram(1);
    }
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
    // A window never placed yet is placed even at 0,0, or the window manager would choose.
    if (target != panelInView_.Home(this) || !testAttribute(Qt::WA_Moved))
        move(target);
}

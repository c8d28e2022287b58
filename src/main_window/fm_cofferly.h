#pragma once

#include "clipboard_wait.h"
#include "idle_watch.h"
#include "main_controls.h"
#include "main_window_state.h"
#include "panel_in_view.h"
#include "platform/desktop.h"
#include "store/data_session.h"
#include "store/settings.h"

#include <QElapsedTimer>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <optional>

class QAction;
class QMenu;
class QShortcut;

// The program's one permanent window: browse entries, copy an ID or PW piece by piece,
// open the URL, add, edit, delete, sort, and keep the window on top.
class Fm_Cofferly : public QWidget, private MainControls {
    Q_OBJECT
public:
    // Outer heights in twips: browsing shows everything above Line1, the modes show
    // the edit panel below it too.
    static constexpr int kBrowsingHeight = 2748;
    static constexpr int kEditHeight = 4665;
    static constexpr int kClientWidth = 5730;

    // What the window is doing; every control's enabled state follows from it and from
    // whether a copy run is under way.
    using Mode = MainWindowState::Mode;

    // Shows the open session: runs the load handling at once, and the window stands in
    // browsing mode afterwards. Every change of the entries goes through `session`.
    Fm_Cofferly(DataSession& session, Desktop& desktop, QWidget* parent = nullptr);
    // However the program ends, the clipboard keeps nothing of what the window put there.
    ~Fm_Cofferly() override;

    // Takes the user's settings, at start and whenever they change: a new clearing delay
    // counts from the next copy.
    void ApplySettings(const Settings& settings);
    const Settings& CurrentSettings() const { return settings_; }

    // Where the window stands before a data file says otherwise: the middle of the primary
    // screen. A first start writes it into the new data file.
    static DataFile::Position FirstPosition();

    // True once the program is ending: the save at the close failed and was reported.
    // Nothing more is saved.
    bool Ended() const { return ended_; }
    const Entries& Table() const { return session_.Table(); }
    const MainWindowState& State() const { return state_; }
    Mode CurrentMode() const { return state_.CurrentMode(); }
    bool InCopyRun() const { return state_.InCopyRun(); }
    bool IsOnTop() const { return state_.OnTop(); }
    const MainControls& Controls() const { return *this; }
    QPushButton* DefaultButton() const { return defaultButton_; }
    QPushButton* CancelButton() const { return ButtonOf(state_.CancelButton()); }
    // The window's menu, for the commands its layout has no control for.
    QMenu* Menu() const { return menu_; }

    // The 設定 dialog: on OK with a value changed, the settings file is written and the new
    // settings applied. False when nothing changed: cancelled, nothing changed, or the file
    // could not be written (the user has been told).
    bool EditSettings();

    // Handlers
    void IComboTitle_Click();
    void Tx_Data_GotFocus(int index);
    void Bt_Clip_MouseDown(int index, Qt::MouseButton button, int shift);
    void Bt_Clip_Click(int index);
    void CmdURL_Click();
    void cmdTop_Click();
    void Bt_Add_Click();
    void Bt_Edit_Click();
    void Bt_OK_Click(int index);
    void Bt_Del_Click();
    void cmdSort_Click();
    void menu_ClearClipboard_Click();
    void menu_Settings_Click();
    void menu_Export_Click();
    void menu_Import_Click();
    // The search while browsing, the password generator in a mode.
    void menu_Search_Click();
    void menu_Generate_Click();
    // Encryption: turning it on while the data is plain; while it is encrypted, the password,
    // turning it off, the legacy file out and in, and the lock (also after idle time).
    void menu_Encrypt_Click();
    void menu_ChangePassword_Click();
    void menu_Decrypt_Click();
    void menu_ExportLegacy_Click();
    void menu_ImportLegacy_Click();
    void menu_Lock_Click();
    void IdleWatch_Idle();
    // Whether the idle lock is waiting, for how long more (ms).
    const IdleWatch& Idle() const { return idleWatch_; }
    // Sets `Cancel` to keep the window open: the user chose キャンセル at the question about
    // typed texts, or their commit was refused or failed.
    void Form_QueryUnload(bool& Cancel);

    // Splits `text` at each "-" before its last character into the pieces of a copy run.
    static QStringList DevideSentense(const QString& text)
    {
        return MainWindowState::DevideSentense(text);
    }

protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void CreateLowerControls();
    void SetTabOrder();
    void ConnectHandlers();
    void Form_Load();
    void CreateMenu();
    void OpenMenuFromKeyboard();
    void ApplyMenuState();

    // The one place that shows the state in the controls.
    void ApplyState();
    void SetOuterHeight(int twips);
    void SetDefaultButton(QPushButton* button);
    QPushButton* ButtonOf(MainWindowState::Control control) const;
    Entry Typed() const;

    // Carries out what the state answered an event with, after showing the new state.
    void Carry(const MainWindowState::Effects& effects);
    void Do(const MainWindowState::Effect& effect);
    void DoCommand(const MainWindowState::Effect& effect);
    void Tell(const MainWindowState::Effect& effect);
    void Ask(const MainWindowState::Effect& effect);
    void ShowEntry(int n);
    void ClearEntryDisplay();
    void FillPanel(const Entry& entry);
    void ExportFile();
    void ImportFile();
    bool IsOwnFile(const QString& path) const;
    void ShowSearch();
    void ShowGenerator();

    // Encryption and the lock (window_lock.cpp, encryption_handlers.cpp).
    void LockWindow();
    void AskToUnlock();
    void EndLocked();
    void WatchForIdle();
    std::optional<QString> ChooseNewPassword(bool change);
    void SetNewPassword(bool change);
    void OfferToRemoveKeptCopies(const QStringList& names);
    void TurnOffEncryption();
    void EncryptionChanged();
    void ExportLegacyFile();
    void ImportLegacyFile();

    // The clipboard: what the window put there is cleared a while after the last copy.
    void PutOnClipboard(const QString& text);
    void ClipboardWaitOver();
    void Act(ClipboardWait::Action action);
    void WaitForClipboard();

    // Every change ends with these. A failed save at a commit is reported and changes
    // nothing; Commit returns false and the caller keeps what the user typed.
    bool Commit(const Entries& entries);
    bool ReportSave(const std::variant<DataSession::SaveReport, StoreError>& result, bool ending);
    void LoadData();
    void FillTitles();
    void Report(const StoreError& error, bool ending);
    DataFile::Position WindowPosition() const;
    void MoveWindow(DataFile::Position position);

    DataSession& session_;
    Desktop& desktop_;
    MainWindowState state_{session_.Table()};
    bool ended_ = false;
    // The close was called off: the user chose キャンセル, or their commit was refused.
    bool keepOpen_ = false;
    QPushButton* defaultButton_ = nullptr;
    // Whether the window was last set to stay on top; unset until it first was.
    std::optional<bool> onTop_;
    PanelInView panelInView_;
    Settings settings_;
    ClipboardWait clipboardWait_;
    QElapsedTimer clock_;
    QTimer clipboardTimer_;
    QMenu* menu_ = nullptr;
    // The menu's entries with the command each stands for.
    QList<std::pair<WindowCommand, QAction*>> commands_;
    // The Menu key and Shift+F10.
    QList<QShortcut*> menuKeys_;
    IdleWatch idleWatch_;
};

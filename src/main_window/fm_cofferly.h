#pragma once

#include "main_controls.h"
#include "panel_in_view.h"
#include "platform/desktop.h"
#include "store/data_session.h"

#include <QStringList>
#include <QWidget>
#include <optional>

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

    // What the window is doing; every control's enabled state follows from it.
    enum class Mode { Browsing, CopyRun, Adding, Editing };

    // Shows the open session: runs the load handling at once, and the window stands in
    // browsing mode afterwards. Every change of the entries goes through `session`.
    Fm_Cofferly(DataSession& session, Desktop& desktop, QWidget* parent = nullptr);

    // Where the window stands before a data file says otherwise: the middle of the primary
    // screen. A first start writes it into the new data file.
    static DataFile::Position FirstPosition();

    // True once the program is ending: the save at the close failed and was reported.
    // Nothing more is saved.
    bool Ended() const { return ended_; }
    const Entries& Table() const { return session_.Table(); }
    Mode CurrentMode() const { return run_ ? Mode::CopyRun : mode_; }
    bool IsOnTop() const { return OnTop; }
    const MainControls& Controls() const { return *this; }
    QPushButton* DefaultButton() const { return defaultButton_; }
    QPushButton* CancelButton() const { return cancelButton_; }

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
    // Sets `Cancel` to keep the window open: the user chose キャンセル at the question about
    // typed texts, or their commit was refused or failed.
    void Form_QueryUnload(bool& Cancel);

    // Splits `text` at each "-" before its last character into the pieces of a copy run.
    static QStringList DevideSentense(const QString& text);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void SetTabOrder();
    void ConnectHandlers();
    void Form_Load();

    void SetMode(Mode mode);
    void ApplyMode();
    bool CopyButtonUsable(int index) const;
    void SetOnTop(bool on);
    void SetOuterHeight(int twips);
    void SetDefaultButton(QPushButton* button);
    void ShowEntry(int n);
    const Entry* ShownEntry() const;
    void ClearEntryDisplay();
    void ResetTitleDisplay();
    void LeaveMode(int k);
    bool TextsAreStorable();
    bool PanelChanged() const;
    void EndCopyRun();

    // Every change ends with these. A failed save at a commit is reported and changes
    // nothing; Commit returns false and the caller keeps what the user typed.
    bool Commit(const Entries& entries);
    bool Saved(const std::variant<DataSession::Saved, StoreError>& result, bool ending);
    void LoadData();
    void Report(const StoreError& error, bool ending);
    DataFile::Position WindowPosition() const;
    void MoveWindow(DataFile::Position position);

    DataSession& session_;
    Desktop& desktop_;
    Mode mode_ = Mode::Browsing; // Browsing, Adding or Editing; a copy run is run_
    bool ended_ = false;
    // The entry the entry display shows (1-based); 0 when it shows none.
    int shown_ = 0;
    QPushButton* defaultButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    PanelInView panelInView_;

    // Program-wide flag: the window stays above all others. Never stored.
    bool OnTop = false;

    // A copy run in progress: the copy button whose text is being copied, its pieces, and
    // the piece the next plain click copies.
    struct CopyRun {
        int button = 0;
        QStringList Pieces;
        qsizetype PieceNo = 0;
    };
    std::optional<CopyRun> run_;
    // The last mouse press on a copy button was made with Shift alone.
    bool ShiftCopy = false;
};

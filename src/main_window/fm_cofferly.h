#pragma once

#include "main_controls.h"
#include "panel_in_view.h"
#include "platform/desktop.h"
#include "store/entry.h"
#include "store/load_save.h"

#include <QStringList>
#include <QWidget>

// The program's one permanent window: browse entries, copy an ID or PW piece by piece,
// open the URL, add, edit, delete, sort, and keep the window on top.
class Fm_Cofferly : public QWidget, private MainControls {
    Q_OBJECT
public:
    // Outer heights in twips: browsing shows everything above Line1, the modes show
    // the edit panel below it too.
    static constexpr int kBrowsingHeight = 2748;
    static constexpr int kEditHeight = 4665;

    // What the window is doing; every control's enabled state follows from it.
    enum class Mode { Browsing, CopyRun, Adding, Editing };

    // Runs the load handling at once: the window stands in browsing mode afterwards,
    // unless a file error ended the program (see Ended()).
    Fm_Cofferly(const QString& programDirectory, Desktop& desktop, QWidget* parent = nullptr);

    // True once the program is ending: a file operation failed and was reported, or the
    // user declined to start. Nothing more is saved.
    bool Ended() const { return ended_; }
    const Entries& Table() const { return entries_; }
    Mode CurrentMode() const { return mode_; }
    bool IsOnTop() const { return OnTop; }
    const QStringList& PiecesOfRun() const { return Pieces; }
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
    void Form_QueryUnload();
    void Form_Unload();

    // Splits `text` at each "-" before its last character into the pieces of a copy run;
    // returns how many there are.
    int DevideSentense(const QString& text);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void SetTabOrder();
    void ConnectHandlers();
    void Form_Load();
    bool PrepareDataFile();

    void SetMode(Mode mode);
    void ApplyMode();
    void SetOuterHeight(int twips);
    void SetDefaultButton(QPushButton* button);
    void ShowEntry(int n);
    void ClearEntryDisplay();
    void ResetTitleDisplay();
    void LeaveMode(int k);
    bool TextsAreStorable();

    // The store calls every change ends with. A failed save at a commit is reported and
    // changes nothing; Commit returns false and the caller keeps what the user typed.
    bool Commit(const Entries& entries);
    bool SaveData(const Entries& entries, bool ending);
    bool LoadData();
    void Report(const StoreError& error, bool ending);
    void End();
    DataFile::Position WindowPosition() const;
    void MoveWindow(DataFile::Position position);

    const QString programDirectory_;
    Desktop& desktop_;
    Entries entries_;
    Fingerprint read_; // of the data file as last read or written
    Mode mode_ = Mode::Browsing;
    bool ended_ = false;
    QPushButton* defaultButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    PanelInView panelInView_;

    // Program-wide flag: the window stays above all others. Never stored.
    bool OnTop = false;

    // The copy run in progress: PieceCount pieces, PieceNo the next to copy (0 when idle),
    // RunButton the copy button whose text is being copied.
    int PieceCount = 0;
    int PieceNo = 0;
    int RunButton = 0;
    QStringList Pieces;
    // The last mouse press on a copy button was made with Shift alone.
    bool ShiftCopy = false;
};

#pragma once

#include "panel_in_view.h"
#include "platform/desktop.h"
#include "platform/title_selector.h"
#include "shapes.h"
#include "sort_window/sort_owner.h"
#include "store/entry_table.h"
#include "store/load_save.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QWidget>
#include <array>

// The program's one permanent window: browse entries, copy an ID or PW piece by piece,
// open the URL, add, edit, delete, sort, and keep the window on top.
class Fm_Cofferly : public QWidget, private DataHost, private SortOwner {
    Q_OBJECT
public:
    // Outer heights in twips: browsing shows everything above Line1, the modes show
    // the edit panel below it too.
    static constexpr int kBrowsingHeight = 2748;
    static constexpr int kEditHeight = 4665;

    // Runs the load handling at once: the window stands in browsing mode afterwards,
    // unless a file error ended the program (see Ended()).
    Fm_Cofferly(const QString& programDirectory, Desktop& desktop, QWidget* parent = nullptr);

    // True once a file operation failed and was reported: nothing more is saved.
    bool Ended() const { return ended_; }
    const EntryTable& Table() const { return table_; }
    bool IsOnTop() const { return OnTop; }
    const QStringList& PiecesOfRun() const { return Pieces; }

    // Controls, under the names the rest of the program knows them by
    TitleSelector* IComboTitle;
    QPushButton* Bt_Add;
    QPushButton* Bt_Edit;
    QPushButton* Bt_Del;
    QGroupBox* Frame1;
    std::array<QLabel*, 7> Label1;
    std::array<QLabel*, 3> Lb_data;
    std::array<QPushButton*, 2> Bt_Clip;
    QPushButton* CmdURL;
    FilledShape* Shape2;
    QPushButton* cmdTop;
    OutlineShape* Shape1;
    QLabel* Label3;
    QLabel* LbClipBoard;
    QPushButton* cmdSort;
    LineShape* Line1;
    std::array<QLineEdit*, 4> Tx_Data;
    QLabel* Label2;
    std::array<QPushButton*, 2> Bt_OK;

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

    QPushButton* DefaultButton() const { return defaultButton_; }
    QPushButton* CancelButton() const { return cancelButton_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void SetTabOrder();
    void ConnectHandlers();
    void Form_Load();

    void SetOuterHeight(int twips);
    void SetDefaultButton(QPushButton* button);
    void SetCancelButton(QPushButton* button);
    void ShowEntry(int n);
    void ClearEntryDisplay();
    void EnterMode(const QString& commitCaption);
    void LeaveMode(int k);
    bool TextsAreStorable();
    void Fail(const StoreError& error);

    // SortOwner (and the store calls every change ends with)
    bool SaveData() override;
    bool LoadData() override;
    void ResetTitleDisplay() override;

    // DataHost
    QString ProgramDirectory() const override { return programDirectory_; }
    DataFile::Position WindowPosition() const override;
    void MoveWindow(DataFile::Position position) override;
    void ClearTitles() override;
    void AppendTitle(const QString& text, ItemImage image, int indent) override;
    void SelectTitle(int index) override;

    const QString programDirectory_;
    Desktop& desktop_;
    EntryTable table_;
    bool ended_ = false;
    QPushButton* defaultButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    PanelInView panelInView_;

    // Program-wide flag: the window stays above all others. Never stored.
    bool OnTop = false;

    // The copy run in progress: PieceCount pieces, PieceNo the next to copy (0 when idle).
    int PieceCount = 0;
    int PieceNo = 0;
    QStringList Pieces;
    // The last mouse press on a copy button was made with Shift alone.
    bool ShiftCopy = false;
};

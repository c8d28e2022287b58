#pragma once

#include "store/csv_layouts.h"
#include "store/entry.h"

#include <QList>
#include <QStringList>
#include <optional>

// The commands the window's layout has no control for: each gets a key and a menu entry,
// and its decisions go into MainWindowState first (Allows, CommandChosen).
enum class WindowCommand {
    ClearClipboard,
    EditSettings,
    Lock,
    Search,
    Generate,
    Export,
    Import,
    Encrypt,
    ChangePassword,
    Decrypt,
    ExportLegacy,
    ImportLegacy
};

// What the main window is doing and what each of its controls may do, without a widget.
// Each event changes the state and answers with the effects the window carries out, in
// order, after it has shown the new state. Positions are 1-based, as in the title selector.
class MainWindowState {
public:
    enum class Mode { Browsing, Adding, Editing };
    // The controls whose use the state decides.
    enum class Control {
        None,
        IComboTitle,
        Bt_Clip0,
        Bt_Clip1,
        CmdURL,
        Bt_Add,
        Bt_Edit,
        Bt_Del,
        cmdSort,
        Tx_Data,
        Bt_OK0,
        Bt_OK1
    };
    enum class Key { Enter, Escape };
    enum class Question {
        None,
        DeleteEntry,
        SaveAtClose,
        ExportWarning,
        ImportRows,
        SaveAtLock,    // the lock in a mode with texts typed, as at the close
        Decrypt,       // the plain files come back
        LegacyWarning, // the legacy file holds every password in plain text
        LegacyImport   // a legacy file's entries replace the current ones
    };
    enum class Answer { Yes, No, Cancel };

    // Something the window does for an event, with what it needs to do it.
    struct Effect {
        enum class Kind {
            Beep,
            PutOnClipboard,    // text, also shown in LbClipBoard
            OpenUrl,           // text
            TellTableFull,     //
            TellLastEntry,     // the last entry cannot be deleted
            TellUnstorable,    // field, character
            Ask,               // question; text: the entry's title for DeleteEntry
            Commit,            // entries
            ShowEntry,         // position
            ClearEntryDisplay, //
            SelectTitle,       // position, without a click
            FocusTitles,       //
            ClearPanel,        //
            FillPanel,         // entry, each text shown from its start
            FocusField,        // field
            SelectCharacter,   // field, character
            Press,             // control
            SaveAtClose,       //
            KeepOpen,          // the close is called off
            EndCopyRun,        // once the last piece is copied: CopyRunEnded()
            ClearClipboard,    // if it still holds what the program put there
            EditSettings,      // the 設定 dialog
            ChooseExportFile,  // then write the file
            ChooseImportFile,  // then read it: ImportRead()
            TellNoImport,      // import: nothing of the file can come in
            OpenSearch,        // SearchPicked() with the entry the user picks
            OpenGenerator,     // PasswordMade() with the password the user takes
            PutInField,        // field, text: in place of the field's text
            Lock,              // hide the entries, wipe the key, ask for the password: Unlocked()
            NewPassword,       // n: 0 to turn encryption on, 1 to change the password
            TurnOff,           // encryption, after the question
            ChooseLegacyExportFile, // then write the legacy file
            ChooseLegacyImportFile, // then read it in place of the entries
        };
        // What an import brings, for its question: the rows refused and why, how many come
        // in, the new headings among them, and the rows left out for want of room.
        struct Import {
            QList<CsvLayouts::Refusal> refused;
            int taken = 0;
            int headings = 0;
            int left = 0;
        };
        Kind kind;
        int n = 0; // position or field (0 title, 1 ID, 2 PW, 3 URL)
        QString text{};
        char32_t character = 0;
        Question question = Question::None;
        Control control = Control::None;
        Entry entry{};
        Entries entries{};
        Import import{};
    };
    using Effects = QList<Effect>;

    // `table` is the entries as they stand; the state reads it, never changes it.
    explicit MainWindowState(const Entries& table) : table_(&table) {}

    Mode CurrentMode() const { return mode_; }
    bool InCopyRun() const { return run_.has_value(); }
    int Shown() const { return shown_; }
    bool OnTop() const { return onTop_; }
    bool Usable(Control control) const;
    Control DefaultButton() const;
    Control CancelButton() const;
    bool PanelOpen() const { return mode_ != Mode::Browsing; }

    // Events. `k` is the title selector's selected position, `typed` the edit panel's texts.
    Effects Loaded();
    Effects TitlePicked(int n);
    void ClipPressed(int index, int shift);
    Effects ClipClicked(int index);
    // The run's last piece is on the clipboard: the controls come back.
    Effects CopyRunEnded();
    Effects UrlClicked() const;
    void TopClicked() { onTop_ = !onTop_; }
    Effects AddClicked();
    Effects EditClicked(int k);
    Effects OkClicked(int index, int k, const Entry& typed);
    Effects DeleteClicked(int k);
    Effects SortClosed();
    Effects CloseAsked(int k, const Entry& typed);
    // The answer to the question the last Ask effect put.
    Effects Answered(Answer answer);
    // The save of the last Commit effect is done; a failed one has been reported.
    Effects Committed(bool saved);
    // The rows of the file the import's dialog gave, to come in after the selected entry
    // `k`: the user is asked first.
    Effects ImportRead(int k, const CsvLayouts::Rows& rows);
    // A key no control took; nullopt when the window has no use for it.
    std::optional<Effects> KeyPressed(Key key);
    // Whether the menu has `command` at all: the encryption's commands depend on whether the
    // data is encrypted.
    bool Offers(WindowCommand command) const;
    // Whether `command` can be chosen now, from the menu or with its key.
    bool Allows(WindowCommand command) const;
    // The user chose `command`; nothing happens when it is not allowed now. The lock goes
    // through LockChosen, which needs the edit panel's texts.
    Effects CommandChosen(WindowCommand command);
    // The window's menu opens from the keyboard while browsing; in a mode the edit boxes
    // keep their own.
    bool MenuFromKeyboard() const { return mode_ == Mode::Browsing; }
    // Whether the session's files are encrypted: the lock and the encryption's commands
    // depend on it.
    void SetEncrypted(bool encrypted) { encrypted_ = encrypted; }
    bool Locked() const { return locked_; }
    // The user locks (menu, Ctrl+L): in a mode with texts typed, asked first as at the close.
    Effects LockChosen(int k, const Entry& typed);
    // No input for the set time: locks at once; a mode stays open, its texts hidden until the
    // unlock brings them back.
    Effects IdleLock(int k, const Entry& typed);
    // The right password: the entries show again, with the entry that was shown.
    Effects Unlocked();
    // The search's pick of entry n: selected and shown as a pick in the title selector.
    Effects SearchPicked(int n);
    // The generator's password, taken into the PW box.
    Effects PasswordMade(const QString& pw);

    // Splits `text` at each "-" before its last character into the pieces of a copy run.
    static QStringList DevideSentense(const QString& text);

private:
    // What a commit under way goes on with once the entries are saved.
    struct Pending {
        bool deleting = false;
        bool importing = false;
        Mode mode = Mode::Browsing; // of a commit of the edit panel
        int k = 0;
        bool closing = false;
        bool locking = false;
    };
    // A copy run: the copy button whose text is being copied, its pieces, and the piece
    // the next plain click copies.
    struct CopyRun {
        int button = 0;
        QStringList Pieces;
        qsizetype PieceNo = 0;
    };

    bool Browsing() const { return mode_ == Mode::Browsing && !run_; }
    Effects ExportChosen();
    Effects ImportChosen();
    Effects Asks(Question question);
    Effects LockNow(int k);
    const Entry* ShownEntry() const;
    Effects LeaveMode(int k);
    Effects Show(int n);
    Effects Commit(Entries entries, Pending pending);
    std::optional<Effects> Unstorable(const Entry& typed) const;
    bool PanelChanged(int k, const Entry& typed) const;

    const Entries* table_;
    Mode mode_ = Mode::Browsing;
    std::optional<CopyRun> run_;
    // The last mouse press on a copy button was made with Shift alone.
    bool shiftCopy_ = false;
    // The entry the entry display shows; 0 when it shows none.
    int shown_ = 0;
    // The window stays above all others. Never stored.
    bool onTop_ = false;
    Question asking_ = Question::None;
    Pending pending_;
    // Kept from the close's question for a はい that commits them.
    int closeK_ = 0;
    Entry closeTyped_;
    // The table with an import's rows in, kept for the はい of its question.
    Entries imported_;
    int importedK_ = 0;
    bool encrypted_ = false;
    bool locked_ = false;
    // Where the lock found the window: the selected position, and the texts of a mode that
    // an idle lock hid.
    int lockK_ = 0;
    std::optional<Entry> heldTyped_;
};

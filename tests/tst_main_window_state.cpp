// The main window's state without its widgets: events in, the state and the effects out.
#include "main_window/clipboard_wait.h"
#include "main_window/main_window_state.h"
#include "support/test_support.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using State = MainWindowState;
using Kind = State::Effect::Kind;

Q_DECLARE_METATYPE(Entry)

namespace {

// What the state lets the user do: the usable controls, then the default and cancel buttons.
const QString kBrowse = u"IComboTitle Bt_Clip0 Bt_Clip1 CmdURL Bt_Add Bt_Edit Bt_Del cmdSort"
                        " / Bt_Clip0 None"_s;
const QString kPanel = u"Tx_Data Bt_OK0 Bt_OK1 / Bt_OK0 Bt_OK1"_s;

QString Name(State::Control control)
{
    const char* names[] = {"None",    "IComboTitle", "Bt_Clip0", "Bt_Clip1", "CmdURL", "Bt_Add",
                           "Bt_Edit", "Bt_Del",      "cmdSort",  "Tx_Data",  "Bt_OK0", "Bt_OK1"};
    return QString::fromLatin1(names[static_cast<int>(control)]);
}

QString Controls(const State& state)
{
    QStringList usable;
    for (int c = 1; c <= static_cast<int>(State::Control::Bt_OK1); ++c)
        if (state.Usable(static_cast<State::Control>(c)))
            usable << Name(static_cast<State::Control>(c));
    return usable.join(u' ') + u" / "_s + Name(state.DefaultButton()) + u' ' +
           Name(state.CancelButton());
}

QString Describe(const State::Effect& e)
{
    // One name a kind, in the order of the kinds.
    static const QStringList names =
        u"beep,clip,url,full,last,unstorable,ask,commit,show,clear,select,focus titles,"
        u"clear panel,fill,focus,select char,press,save at close,keep open,end run,"
        u"clear clipboard,settings,choose export,choose import,no import,open search,"
        u"open generator,put,lock,new password,turn off,choose legacy export,"
        u"choose legacy import"_s.split(u',');
    QString payload;
    switch (e.kind) {
    case Kind::PutOnClipboard:
    case Kind::OpenUrl:
    case Kind::Ask:
    case Kind::PutInField:
        payload = e.text;
        break;
    case Kind::Commit:
        payload = QString::number(e.entries.size());
        break;
    case Kind::FillPanel:
        payload = e.entry.title;
        break;
    case Kind::Press:
        payload = Name(e.control);
        break;
    case Kind::TellUnstorable:
    case Kind::ShowEntry:
    case Kind::SelectTitle:
    case Kind::FocusField:
    case Kind::SelectCharacter:
    case Kind::NewPassword:
        payload = QString::number(e.n);
        break;
    default:
        break;
    }
    return (names[static_cast<int>(e.kind)] + u' ' + payload).trimmed();
}

// The menu's commands by their names in the events, in the order of WindowCommand.
const QStringList kCommands = u"clear,settings,menu-lock,search,generate,export,import,encrypt,"
                              u"password,decrypt,legacy-out,legacy-in"_s.split(u',');

// Runs the comma-separated events and describes the effects of the last one.
QString Run(State& state, const QString& events, const Entry& typed)
{
    QString last;
    for (const QString& event : events.split(u',', Qt::SkipEmptyParts)) {
        const QStringList w = event.trimmed().split(u' ');
        const int a = w.value(1).toInt(), b = w.value(2).toInt();
        const QString verb = w[0];
        std::optional<State::Effects> effects = State::Effects{};
        if (kCommands.contains(verb))
            effects = state.CommandChosen(static_cast<WindowCommand>(kCommands.indexOf(verb)));
        else if (verb == u"pick")
            effects = state.TitlePicked(a);
        else if (verb == u"press")
            state.ClipPressed(a, b);
        else if (verb == u"clip")
            effects = state.ClipClicked(a);
        else if (verb == u"url")
            effects = state.UrlClicked();
        else if (verb == u"top")
            state.TopClicked();
        else if (verb == u"add")
            effects = state.AddClicked();
        else if (verb == u"edit")
            effects = state.EditClicked(a);
        else if (verb == u"ok")
            effects = state.OkClicked(a, b, typed);
        else if (verb == u"del")
            effects = state.DeleteClicked(a);
        else if (verb == u"sort")
            effects = state.SortClosed();
        else if (verb == u"close")
            effects = state.CloseAsked(a, typed);
        else if (verb == u"yes" || verb == u"no" || verb == u"cancel")
            effects = state.Answered(verb == u"yes"  ? State::Answer::Yes
                                     : verb == u"no" ? State::Answer::No
                                                     : State::Answer::Cancel);
        else if (verb == u"saved" || verb == u"failed")
            effects = state.Committed(verb == u"saved");
        else if (verb == u"found")
            effects = state.SearchPicked(a);
        else if (verb == u"made")
            effects = state.PasswordMade(w.value(1));
        else if (verb == u"encrypted")
            state.SetEncrypted(true);
        else if (verb == u"lock" || verb == u"lock0")
            effects = state.LockChosen(a, verb == u"lock" ? typed : Entry{});
        else if (verb == u"idle")
            effects = state.IdleLock(a, typed);
        else if (verb == u"unlocked")
            effects = state.Unlocked();
        else if (verb == u"enter" || verb == u"esc")
            effects = state.KeyPressed(verb == u"enter" ? State::Key::Enter : State::Key::Escape);
        else
            qFatal("unknown event");
        QStringList described;
        for (const State::Effect& effect : effects.value_or(State::Effects{}))
            described << Describe(effect);
        last = effects ? described.join(u"; "_s) : u"not taken"_s;
        if (effects && !effects->isEmpty() && effects->last().kind == Kind::EndCopyRun)
            state.CopyRunEnded();
    }
    return last;
}

} // namespace

class TestMainWindowState : public QObject {
    Q_OBJECT
private slots:
    void events_data()
    {
        QTest::addColumn<int>("entries");
        QTest::addColumn<QString>("events");
        QTest::addColumn<QString>("effects");
        QTest::addColumn<QString>("controls");
        QTest::addColumn<int>("shown");
        auto row = [](const char* name, int entries, const char* events, const char* effects,
                      const QString& controls, int shown) {
            QTest::newRow(name) << entries << QString::fromUtf8(events)
                                << QString::fromUtf8(effects) << controls << shown;
        };
        row("start", 2, "", "select 1; show 1", kBrowse, 1);
        row("start empty", 0, "", "", kBrowse, 0);
        row("run starts", 2, "clip 1", "clip pw", u"Bt_Clip1 / Bt_Clip0 None"_s, 1);
        row("run ends", 2, "clip 1, clip 1, clip 1", "clip x; end run", kBrowse, 1);
        row("shift copies whole", 2, "press 1 1, clip 1", "clip pw-1-x", kBrowse, 1);
        row("shift on a run's other button", 2, "clip 1, press 0 1, clip 1", "clip 1",
            u"Bt_Clip1 / Bt_Clip0 None"_s, 1);
        row("ctrl-shift copies a piece", 2, "press 0 3, clip 0", "clip id",
            u"Bt_Clip0 / Bt_Clip0 None"_s, 1);
        row("esc ends run", 2, "clip 0, esc", "", kBrowse, 1);
        row("pick ends run", 2, "clip 0, pick 2", "show 2", kBrowse, 2);
        row("pick outside", 2, "pick 3", "", kBrowse, 1);
        row("empty table beeps", 0, "clip 0, url", "beep", kBrowse, 0);
        row("url", 2, "pick 2, url", "url https://example.com/2", kBrowse, 2);
        row("add", 2, "add", "clear panel; focus 0", kPanel, 1);
        row("add when full", 200, "add", "full", kBrowse, 1);
        row("edit", 2, "edit 2", "fill Title 2; focus 0", kPanel, 1);
        row("edit nothing", 0, "edit 0", "beep", kBrowse, 0);
        row("back", 2, "edit 2, ok 1 2", "focus titles; select 2", kBrowse, 1);
        row("commit edit", 2, "edit 2, ok 0 2", "commit 2", kPanel, 1);
        row("edit saved", 2, "edit 2, ok 0 2, saved", "focus titles; select 2; show 2", kBrowse, 2);
        row("add saved", 2, "add, ok 0 1, saved", "focus titles; select 1", kBrowse, 1);
        row("add into empty", 0, "add, ok 0 0, saved", "focus titles; show 1", kBrowse, 1);
        row("save failed", 2, "add, ok 0 1, failed", "", kPanel, 1);
        row("delete asks", 2, "del 2", "ask Title 2", kBrowse, 1);
        row("delete no", 2, "del 2, no", "focus titles", kBrowse, 1);
        row("delete yes", 3, "del 2, yes", "commit 2", kBrowse, 1);
        row("deleted", 3, "del 2, yes, saved", "select 1; clear; focus titles", kBrowse, 0);
        row("last entry", 1, "del 1", "last", kBrowse, 1);
        row("nothing to delete", 0, "del 0", "beep", kBrowse, 0);
        row("sort closed", 2, "pick 2, sort", "select 1; clear", kBrowse, 0);
        row("close browsing", 2, "close 1", "save at close", kBrowse, 1);
        row("close edit changed", 2, "edit 1, close 1", "ask", kPanel, 1);
        row("close cancel", 2, "add, close 1, cancel", "keep open", kPanel, 1);
        row("close no", 2, "add, close 1, no", "save at close", kPanel, 1);
        row("close yes", 2, "add, close 1, yes, saved", "focus titles; select 1; save at close",
            kBrowse, 1);
        row("close yes failed", 2, "add, close 1, yes, failed", "keep open", kPanel, 1);
        row("enter browsing", 2, "enter", "press Bt_Clip0", kBrowse, 1);
        row("enter in a mode", 2, "add, enter", "press Bt_OK0", kPanel, 1);
        row("esc in a mode", 2, "add, esc", "press Bt_OK1", kPanel, 1);
        row("esc browsing", 2, "esc", "not taken", kBrowse, 1);
        row("clear browsing", 2, "clear", "clear clipboard", kBrowse, 1);
        row("clear in a run", 2, "clip 1, clear", "clear clipboard", u"Bt_Clip1 / Bt_Clip0 None"_s,
            1);
        row("clear in a mode", 2, "edit 1, clear", "clear clipboard", kPanel, 1);
        row("settings in a mode", 2, "edit 1, settings", "settings", kPanel, 1);
        row("export warns first", 2, "export", "ask", kBrowse, 1);
        row("export after yes", 2, "export, yes", "choose export", kBrowse, 1);
        row("export called off", 2, "export, no", "", kBrowse, 1);
        row("import browsing", 2, "import", "choose import", kBrowse, 1);
        row("no export or import in a mode", 2, "edit 1, export, import", "", kPanel, 1);
        row("no import in a run", 2, "clip 1, import", "", u"Bt_Clip1 / Bt_Clip0 None"_s, 1);
        row("search", 2, "search", "open search", kBrowse, 1);
        row("search in a mode", 2, "edit 1, search", "", kPanel, 1);
        row("search during a run", 2, "clip 0, search", "", u"Bt_Clip0 / Bt_Clip0 None"_s, 1);
        row("search picks", 3, "pick 3, found 2", "select 2; show 2; focus titles", kBrowse, 2);
        row("search picks outside", 2, "found 3", "", kBrowse, 1);
        row("generate in a mode", 2, "add, generate", "open generator", kPanel, 1);
        row("generate browsing", 2, "generate", "", kBrowse, 1);
        row("password made", 2, "edit 1, made Xy!9", "put Xy!9; focus 2", kPanel, 1);
        row("password made browsing", 2, "made Xy!9", "", kBrowse, 1);
        // The lock, and the encryption's commands
        const QString locked = u" / Bt_Clip0 None"_s;
        row("no lock when plain", 2, "lock 1", "", kBrowse, 1);
        row("lock", 2, "encrypted, lock 1", "lock", locked, 1);
        row("unlocked, a run ended", 2, "encrypted, pick 2, clip 1, lock 2, unlocked",
            "select 2; show 2; focus titles", kBrowse, 2);
        row("nothing while locked", 2, "encrypted, lock 1, clear, search, encrypt, lock 1", "",
            locked, 1);
        row("lock with texts asks", 2, "encrypted, edit 1, lock 1", "ask", kPanel, 1);
        row("lock, yes", 2, "encrypted, edit 1, lock 1, yes, saved",
            "focus titles; select 1; show 1; lock", locked, 1);
        row("lock, yes failed", 2, "encrypted, add, lock 1, yes, failed", "", kPanel, 1);
        row("lock, no", 2, "encrypted, add, lock 1, no", "focus titles; select 1; lock", locked, 1);
        row("lock, cancel", 2, "encrypted, add, lock 1, cancel", "", kPanel, 1);
        row("lock, nothing typed", 2, "encrypted, add, lock0 1", "focus titles; select 1; lock",
            locked, 1);
        row("idle lock keeps the mode", 2, "encrypted, add, idle 1", "clear panel; lock",
            u" / Bt_OK0 Bt_OK1"_s, 1);
        row("idle lock gives the texts back", 2, "encrypted, edit 2, idle 2, unlocked",
            "select 2; show 1; fill New; focus 0", kPanel, 1);
        row("encrypt", 2, "encrypt", "new password 0", kBrowse, 1);
        row("encrypt in a mode", 2, "add, encrypt", "", kPanel, 1);
        row("encrypt twice", 2, "encrypted, encrypt", "", kBrowse, 1);
        row("change password", 2, "encrypted, password", "new password 1", kBrowse, 1);
        row("decrypt, yes", 2, "encrypted, decrypt, yes", "turn off", kBrowse, 1);
        row("decrypt, no", 2, "encrypted, decrypt, no", "", kBrowse, 1);
        row("legacy out", 2, "encrypted, legacy-out, yes", "choose legacy export", kBrowse, 1);
        row("legacy in", 2, "encrypted, legacy-in, yes", "choose legacy import", kBrowse, 1);
        row("legacy in, no", 2, "encrypted, legacy-in, no", "", kBrowse, 1);
        row("only when encrypted", 2, "password, decrypt, legacy-out, legacy-in", "", kBrowse, 1);
    }

    void events()
    {
        QFETCH(int, entries);
        QFETCH(QString, events);
        const Entries table = TestFiles::Numbered(entries);
        State state(table);
        QStringList loaded;
        for (const State::Effect& effect : state.Loaded())
            loaded << Describe(effect);
        const Entry typed{u"New"_s, u"n"_s, u"p"_s, {}};
        const QString effects = events.isEmpty() ? loaded.join(u"; "_s) : Run(state, events, typed);
        QTEST(effects, "effects");
        QTEST(Controls(state), "controls");
        QTEST(state.Shown(), "shown");
    }

    // A refused character keeps the mode, tells which field and selects the character.
    void refusalKeepsMode_data()
    {
        QTest::addColumn<Entry>("typed");
        QTest::addColumn<QString>("effects");
        QTest::newRow("quote in ID")
            << Entry{u"T"_s, u"a\"b"_s, {}, {}} << u"unstorable 1; focus 1; select char 1"_s;
        QTest::newRow("wave dash in URL")
            << Entry{u"T"_s, {}, {}, u"x\u301C"_s} << u"unstorable 3; focus 3; select char 3"_s;
    }

    void refusalKeepsMode()
    {
        QFETCH(Entry, typed);
        const Entries table = TestFiles::Numbered(2);
        State state(table);
        state.Loaded();
        QFETCH(QString, effects);
        QCOMPARE(Run(state, u"edit 1, ok 0 1"_s, typed), effects);
        QCOMPARE(state.CurrentMode(), State::Mode::Editing);
        // At the close, a refusal calls the close off.
        QCOMPARE(Run(state, u"close 1, yes"_s, typed), effects + u"; keep open"_s);
    }

    // When the clipboard is cleared. Each event: "copy T" (a copy at T ms), "delay S" (a new
    // setting), "tick T ours" or "tick T other" (the timer at T, with what the clipboard
    // holds then), "now ..." (the user's command), "end ..." (any end of the program); the
    // actions of the ticks, the commands and the ends in order, "-" for none.
    void clipboardClears_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("events");
        QTest::addColumn<QString>("actions");
        auto row = [](const char* name, int seconds, const char* events, const char* actions) {
            QTest::newRow(name) << seconds << QString::fromLatin1(events)
                                << QString::fromLatin1(actions);
        };
        row("still ours", 30, "copy 0, tick 29999 ours, tick 30000 ours, tick 60000 ours",
            "- clear -");
        row("changed by another program", 30, "copy 0, tick 30000 other", "forget");
        row("never copied", 30, "tick 30000 ours, now ours, end ours", "- - -");
        row("each piece starts again", 30,
            "copy 0, copy 20000, tick 30000 ours, copy 45000, tick 50000 ours, tick 75000 ours",
            "- - clear");
        row("0 = never", 0, "copy 0, tick 30000 ours, tick 9999999 ours", "- -");
        row("0 still clears at the end", 0, "copy 0, end ours", "clear");
        row("now, ours", 30, "copy 0, now ours, tick 30000 ours", "clear -");
        row("now, another's", 30, "copy 0, now other, end other", "forget -");
        row("end, ours", 30, "copy 0, tick 10 ours, end ours", "- clear");
        row("end, another's", 30, "copy 0, end other", "-");
        row("end after the wait cleared", 2, "copy 0, tick 2000 ours, end ours", "clear -");
        row("end after the wait forgot", 2, "copy 0, tick 2000 other, end ours", "forget -");
        row("a new delay counts from the next copy", 30,
            "copy 0, delay 2, tick 2000 ours, copy 5000, tick 7000 ours", "- clear");
    }

    void clipboardClears()
    {
        QFETCH(int, seconds);
        QFETCH(QString, events);
        ClipboardWait wait;
        wait.SetDelay(seconds);
        QStringList actions;
        for (const QString& event : events.split(u", "_s)) {
            const QStringList w = event.split(u' ');
            const bool ours = w.last() == u"ours";
            ClipboardWait::Action action = ClipboardWait::Action::None;
            if (w[0] == u"copy" || w[0] == u"delay") {
                if (w[0] == u"copy")
                    wait.Copied(w[1].toLongLong());
                else
                    wait.SetDelay(w[1].toInt());
                continue;
            }
            if (w[0] == u"tick")
                action = wait.Tick(w[1].toLongLong(), ours);
            else if (w[0] == u"now")
                action = wait.ClearNow(ours);
            else
                action = wait.AtEnd(ours);
            const char* names[] = {"-", "forget", "clear"};
            actions << QString::fromLatin1(names[static_cast<int>(action)]);
        }
        QTEST(actions.join(u' '), "actions");
    }

    void onTopToggles()
    {
        const Entries table;
        State state(table);
        QVERIFY(!state.OnTop());
        state.TopClicked();
        QVERIFY(state.OnTop());
        // A copy run and the modes leave TOP alone.
        Run(state, u"add"_s, {});
        QVERIFY(state.OnTop() && state.PanelOpen());
        state.TopClicked();
        QVERIFY(!state.OnTop());
    }
};

QTEST_GUILESS_MAIN(TestMainWindowState)
#include "tst_main_window_state.moc"

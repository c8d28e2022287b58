// The window's menu: the commands the window's layout has no control for, each with a key
// that works without opening the menu.
#include "fm_cofferly.h"
#include "resources/texts.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QShortcut>

namespace {

// One entry of the menu: its caption, its key, the command whose use the state decides,
// and the handler.
struct MenuEntry {
    const QString& caption;
    QKeySequence key;
    WindowCommand command;
    void (Fm_Cofferly::*handler)();
};

// A right press on a button or the title selector is a press on that control, not on the
// window.
bool IsControl(const QWidget* widget)
{
    for (; widget; widget = widget->parentWidget()) {
        if (qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QComboBox*>(widget))
            return true;
    }
    return false;
}

} // namespace

void Fm_Cofferly::CreateMenu()
{
    const MenuEntry entries[] = {
        {Texts::ClearClipboardCommand, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
         WindowCommand::ClearClipboard, &Fm_Cofferly::menu_ClearClipboard_Click},
        {Texts::SettingsCommand, QKeySequence(Qt::CTRL | Qt::Key_Comma),
         WindowCommand::EditSettings, &Fm_Cofferly::menu_Settings_Click},
        {Texts::ExportCommand, QKeySequence(), WindowCommand::Export,
         &Fm_Cofferly::menu_Export_Click},
        {Texts::ImportCommand, QKeySequence(), WindowCommand::Import,
         &Fm_Cofferly::menu_Import_Click},
        {Texts::SearchCommand, QKeySequence(Qt::CTRL | Qt::Key_F), WindowCommand::Search,
         &Fm_Cofferly::menu_Search_Click},
        {Texts::GenerateCommand, QKeySequence(Qt::CTRL | Qt::Key_G), WindowCommand::Generate,
         &Fm_Cofferly::menu_Generate_Click},
        {Texts::EncryptCommand, QKeySequence(), WindowCommand::Encrypt,
         &Fm_Cofferly::menu_Encrypt_Click},
        {Texts::ChangePasswordCommand, QKeySequence(), WindowCommand::ChangePassword,
         &Fm_Cofferly::menu_ChangePassword_Click},
        {Texts::DecryptCommand, QKeySequence(), WindowCommand::Decrypt,
         &Fm_Cofferly::menu_Decrypt_Click},
        {Texts::ExportLegacyCommand, QKeySequence(), WindowCommand::ExportLegacy,
         &Fm_Cofferly::menu_ExportLegacy_Click},
        {Texts::ImportLegacyCommand, QKeySequence(), WindowCommand::ImportLegacy,
         &Fm_Cofferly::menu_ImportLegacy_Click},
        {Texts::LockCommand, QKeySequence(Qt::CTRL | Qt::Key_L), WindowCommand::Lock,
         &Fm_Cofferly::menu_Lock_Click},
    };
    menu_ = new QMenu(this);
    for (const MenuEntry& entry : entries) {
        auto* action = new QAction(entry.caption, this);
        action->setShortcut(entry.key);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setShortcutVisibleInContextMenu(true);
        connect(action, &QAction::triggered, this, entry.handler);
        // On the window too, so that its key works with the menu closed.
        addAction(action);
        menu_->addAction(action);
        commands_.append({entry.command, action});
    }
    for (const QKeySequence& key :
         {QKeySequence(Qt::Key_Menu), QKeySequence(Qt::SHIFT | Qt::Key_F10)}) {
        auto* shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, this, &Fm_Cofferly::OpenMenuFromKeyboard);
        menuKeys_.append(shortcut);
    }
}

void Fm_Cofferly::ApplyMenuState()
{
    for (const auto& [command, action] : commands_) {
        action->setVisible(state_.Offers(command));
        action->setEnabled(state_.Allows(command));
    }
    for (QShortcut* shortcut : menuKeys_)
        shortcut->setEnabled(state_.MenuFromKeyboard());
}

// The right button on the window's background, its frame and its labels; the controls keep
// theirs (the edit boxes their own menu).
void Fm_Cofferly::contextMenuEvent(QContextMenuEvent* event)
{
    if (event->reason() == QContextMenuEvent::Keyboard) {
        // Some systems send this for the Menu key as well as the key itself.
        OpenMenuFromKeyboard();
        return;
    }
    if (IsControl(childAt(event->pos()))) {
        event->ignore();
        return;
    }
    ApplyMenuState();
    menu_->popup(event->globalPos());
}

// Opens below the control that has the focus, as a menu opened from the keyboard does.
void Fm_Cofferly::OpenMenuFromKeyboard()
{
    if (menu_->isVisible() || !state_.MenuFromKeyboard())
        return;
    ApplyMenuState();
    const QWidget* focus = focusWidget();
    const QPoint at =
        focus ? focus->mapToGlobal(QPoint(0, focus->height())) : mapToGlobal(QPoint());
    menu_->popup(at);
}

void Fm_Cofferly::menu_ClearClipboard_Click()
{
    Carry(state_.CommandChosen(WindowCommand::ClearClipboard));
}

void Fm_Cofferly::menu_Settings_Click()
{
    Carry(state_.CommandChosen(WindowCommand::EditSettings));
}

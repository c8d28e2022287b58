#pragma once

#include "platform/desktop.h"
#include "store/data_session.h"
#include "store/settings.h"

#include <QDialog>
#include <optional>

class QCheckBox;
class QSpinBox;

// 設定: the seconds after which the clipboard is cleared, the minutes without input after
// which encrypted data is locked and, where the system can keep a
// window out of screen captures (Windows), whether the windows may appear in them.
class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    SettingsDialog(const Settings& current, QWidget* parent);

    // What the dialog shows now.
    Settings Chosen() const;
    QSpinBox* ClearAfter() const { return clearAfter_; }
    QSpinBox* LockAfter() const { return lockAfter_; }
    // Nothing where the system has no such choice.
    QCheckBox* AllowCapture() const { return allowCapture_; }

    // Whether this system can keep a window out of screen captures, and so offers the
    // choice (settings_dialog_unix.cpp, _win.cpp).
    static bool OffersScreenCapture();

private:
    QSpinBox* clearAfter_ = nullptr;
    QSpinBox* lockAfter_ = nullptr;
    QCheckBox* allowCapture_ = nullptr;
    Settings current_;
};

// Shows the dialog over `parent` with `current`. After OK with a value changed, writes the
// settings file of `session`'s folder and returns the new settings; a failed write is told
// through `desktop` and changes nothing. Nothing after キャンセル, Esc or no change.
std::optional<Settings> EditSettings(QWidget* parent, Desktop& desktop, const DataSession& session,
                                     const Settings& current);

#pragma once

#include <QDialog>

class QLineEdit;

// Asks for a password before anything is shown: to unlock ("パスワード", one field) or to
// set a new one ("暗号化", the password twice). Input is hidden and no input method
// composes it; Enter is OK and Esc キャンセル. The fields are emptied once read.
class PasswordDialog : public QDialog {
    Q_OBJECT
public:
    enum class Purpose { Unlock, NewPassword };
    PasswordDialog(QWidget* parent, Purpose purpose);

    // The typed password, and with NewPassword the repetition; both fields are emptied.
    QString TakePassword();
    QString TakeRepeated();

private:
    QLineEdit* AddField(const QString& label);
    QLineEdit* password_ = nullptr;
    QLineEdit* repeated_ = nullptr;
};

#include "password_dialog.h"

#include "resources/texts.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

PasswordDialog::PasswordDialog(QWidget* parent, Purpose purpose) : QDialog(parent)
{
    const bool unlock = purpose == Purpose::Unlock;
    setWindowTitle(unlock ? Texts::PasswordCaption : Texts::EncryptCaption);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    const QString& first = unlock ? Texts::PasswordLabel : Texts::NewPasswordLabel;
    password_ = AddField(first);
    form->addRow(first, password_);
    if (!unlock) {
        repeated_ = AddField(Texts::RepeatPasswordLabel);
        form->addRow(Texts::RepeatPasswordLabel, repeated_);
    }
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(Texts::OkButton, QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(Texts::CancelButton, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    password_->setFocus();
}

QLineEdit* PasswordDialog::AddField(const QString& label)
{
    auto* field = new QLineEdit(this);
    field->setAccessibleName(label);
    field->setEchoMode(QLineEdit::Password);
    // No input method: a composition window would show what is typed.
    field->setAttribute(Qt::WA_InputMethodEnabled, false);
    field->setInputMethodHints(Qt::ImhHiddenText | Qt::ImhSensitiveData | Qt::ImhNoPredictiveText |
                               Qt::ImhNoAutoUppercase);
    return field;
}

namespace {

QString Take(QLineEdit* field)
{
    if (!field)
        return {};
    QString text = field->text();
    field->clear();
    return text;
}

} // namespace

QString PasswordDialog::TakePassword()
{
    return Take(password_);
}

QString PasswordDialog::TakeRepeated()
{
    return Take(repeated_);
}

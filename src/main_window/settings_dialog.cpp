#include "settings_dialog.h"

#include "resources/store_messages.h"
#include "resources/texts.h"
#include "store/settings_file.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

SettingsDialog::SettingsDialog(const Settings& current, QWidget* parent)
    : QDialog(parent), current_(current)
{
    setWindowTitle(Texts::SettingsTitle);
    auto* form = new QFormLayout;
    clearAfter_ = new QSpinBox(this);
    clearAfter_->setRange(0, SettingsFile::kMaxClearAfterSeconds);
    clearAfter_->setSuffix(Texts::SecondsSuffix);
    // 0 reads as what it means.
    clearAfter_->setSpecialValueText(Texts::NeverCleared);
    clearAfter_->setValue(current.clearAfterSeconds);
    form->addRow(Texts::ClearAfterLabel, clearAfter_);
    lockAfter_ = new QSpinBox(this);
    lockAfter_->setRange(0, SettingsFile::kMaxLockAfterMinutes);
    lockAfter_->setSuffix(Texts::MinutesSuffix);
    lockAfter_->setSpecialValueText(Texts::NeverLocked);
    lockAfter_->setValue(current.lockAfterMinutes);
    lockAfter_->setToolTip(Texts::LockAfterTip);
    form->addRow(Texts::LockAfterLabel, lockAfter_);
    if (OffersScreenCapture()) {
        allowCapture_ = new QCheckBox(Texts::AllowCaptureLabel, this);
        allowCapture_->setChecked(current.allowScreenCapture);
        form->addRow(allowCapture_);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(Texts::OkButton);
    buttons->button(QDialogButtonBox::Cancel)->setText(Texts::CancelButton);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

Settings SettingsDialog::Chosen() const
{
    Settings chosen = current_;
    chosen.clearAfterSeconds = clearAfter_->value();
    chosen.lockAfterMinutes = lockAfter_->value();
    if (allowCapture_)
        chosen.allowScreenCapture = allowCapture_->isChecked();
    return chosen;
}

std::optional<Settings> EditSettings(QWidget* parent, Desktop& desktop, const DataSession& session,
                                     const Settings& current)
{
    SettingsDialog dialog(current, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const Settings chosen = dialog.Chosen();
    if (chosen == current)
        return std::nullopt;
    if (const auto error = SettingsFile::Write(session.ProgramDirectory(), session.Pin(), chosen)) {
        desktop.Tell(parent, SettingsFailureMessage(*error), QMessageBox::Critical);
        return std::nullopt;
    }
    return chosen;
}

#include "generator_dialog.h"

#include "resources/fonts.h"
#include "resources/texts.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <algorithm>

namespace {

using PasswordGenerator::Band;

const QString& BandWord(Band band)
{
    switch (band) {
    case Band::Weak:
        return Texts::StrengthWeak;
    case Band::Fair:
        return Texts::StrengthFair;
    case Band::Strong:
        return Texts::StrengthStrong;
    default:
        return Texts::StrengthVeryStrong;
    }
}

} // namespace

GeneratorDialog::GeneratorDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(Texts::GeneratorWindowTitle);
    setFont(Fonts::Gothic(9));
    CreateControls();
    ConnectControls();
    Redraw();
    take_->setFocus(Qt::OtherFocusReason);
}

void GeneratorDialog::CreateControls()
{
    const PasswordGenerator::Options defaults;
    password_ = new QLineEdit(this);
    password_->setReadOnly(true);
    // l, I and 1 must be told apart at a glance.
    password_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    length_ = new QSpinBox(this);
    length_->setRange(PasswordGenerator::kMinLength, PasswordGenerator::kMaxLength);
    length_->setValue(defaults.length);
    auto* lengthLabel = new QLabel(Texts::GeneratorLength, this);
    lengthLabel->setBuddy(length_);
    const QString* captions[] = {&Texts::GeneratorUpper, &Texts::GeneratorLower,
                                 &Texts::GeneratorDigits, &Texts::GeneratorSymbols};
    for (size_t i = 0; i < classes_.size(); ++i) {
        classes_[i] = new QCheckBox(*captions[i], this);
        classes_[i]->setChecked(true);
    }
    noLookAlikes_ = new QCheckBox(Texts::GeneratorNoLookAlikes, this);
    groups_ = new QCheckBox(Texts::GeneratorGroups, this);
    groupSize_ = new QSpinBox(this);
    groupSize_->setRange(2, 16);
    groupSize_->setValue(4);
    groupSize_->setSuffix(Texts::GeneratorGroupSuffix);
    strength_ = new QLabel(this);
    redraw_ = new QPushButton(Texts::GeneratorRedraw, this);
    take_ = new QPushButton(Texts::GeneratorTake, this);
    cancel_ = new QPushButton(Texts::CancelButton, this);
    // Enter always takes the password, wherever the focus is.
    redraw_->setAutoDefault(false);
    cancel_->setAutoDefault(false);
    take_->setDefault(true);

    LayOut(lengthLabel);
}

void GeneratorDialog::ConnectControls()
{
    for (QCheckBox* box : classes_)
        connect(box, &QCheckBox::toggled, this, &GeneratorDialog::Redraw);
    connect(length_, &QSpinBox::valueChanged, this, &GeneratorDialog::Redraw);
    connect(noLookAlikes_, &QCheckBox::toggled, this, &GeneratorDialog::Redraw);
    connect(groups_, &QCheckBox::toggled, this, &GeneratorDialog::Redraw);
    connect(groupSize_, &QSpinBox::valueChanged, this, &GeneratorDialog::Redraw);
    connect(redraw_, &QPushButton::clicked, this, &GeneratorDialog::Redraw);
    connect(take_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void GeneratorDialog::LayOut(QLabel* lengthLabel)
{
    auto* grid = new QGridLayout(this);
    grid->addWidget(password_, 0, 0, 1, 3);
    grid->addWidget(redraw_, 0, 3);
    grid->addWidget(strength_, 1, 0, 1, 4);
    grid->addWidget(lengthLabel, 2, 0);
    grid->addWidget(length_, 2, 1);
    for (int i = 0; i < 4; ++i)
        grid->addWidget(classes_[i], 3 + i / 2, (i % 2) * 2, 1, 2);
    grid->addWidget(noLookAlikes_, 5, 0, 1, 4);
    grid->addWidget(groups_, 6, 0, 1, 2);
    grid->addWidget(groupSize_, 6, 2);
    grid->addWidget(take_, 7, 2);
    grid->addWidget(cancel_, 7, 3);
}

QString GeneratorDialog::Password() const
{
    return password_->text();
}

PasswordGenerator::Options GeneratorDialog::Chosen() const
{
    return {.length = length_->value(),
            .upper = classes_[0]->isChecked(),
            .lower = classes_[1]->isChecked(),
            .digits = classes_[2]->isChecked(),
            .symbols = classes_[3]->isChecked(),
            .noLookAlikes = noLookAlikes_->isChecked(),
            .groupSize = groups_->isChecked() ? groupSize_->value() : 0};
}

void GeneratorDialog::Redraw()
{
    // The last class chosen cannot be left out: there would be nothing to draw from.
    const auto chosen = std::count_if(classes_.begin(), classes_.end(),
                                      [](const QCheckBox* box) { return box->isChecked(); });
    for (QCheckBox* box : classes_)
        box->setEnabled(!box->isChecked() || chosen > 1);
    groupSize_->setEnabled(groups_->isChecked());

    const PasswordGenerator::Options options = Chosen();
    password_->setText(PasswordGenerator::Make(options));
    const double bits = PasswordGenerator::StrengthBits(options);
    strength_->setText(
        Texts::GeneratorStrength.arg(qRound(bits)).arg(BandWord(PasswordGenerator::BandOf(bits))));
}

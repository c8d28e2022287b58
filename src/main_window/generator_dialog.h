#pragma once

#include "store/password_generator.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

// The password generator: opens with a fresh password, draws a new one whenever an option
// changes or 作り直す is pressed, and shows its strength. Enter takes it, Esc leaves it.
class GeneratorDialog : public QDialog {
    Q_OBJECT
public:
    explicit GeneratorDialog(QWidget* parent);

    QString Password() const;
    // The options as the controls show them.
    PasswordGenerator::Options Chosen() const;

private:
    void CreateControls();
    void LayOut(QLabel* lengthLabel);
    void ConnectControls();
    void Redraw();

    QLineEdit* password_ = nullptr;
    QSpinBox* length_ = nullptr;
    // Upper case, lower case, digits, symbols.
    std::array<QCheckBox*, 4> classes_{};
    QCheckBox* noLookAlikes_ = nullptr;
    QCheckBox* groups_ = nullptr;
    QSpinBox* groupSize_ = nullptr;
    QLabel* strength_ = nullptr;
    QPushButton* redraw_ = nullptr;
    QPushButton* take_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

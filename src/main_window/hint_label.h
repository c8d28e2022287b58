#pragma once

#include <QLabel>

// A wrapped caption set with tighter lines than the face's own spacing, so that a hint
// written for a compact face still fits its slot whole.
class HintLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override;
};

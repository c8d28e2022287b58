#pragma once

#include <QPushButton>

// A push button for a tall, narrow slot: its caption is drawn one letter a line, while
// text() keeps the caption (and its access key) as given.
class StackedCaptionButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent*) override;
};

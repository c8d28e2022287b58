#pragma once

#include <QColor>
#include <QWidget>

// A rectangle filled with one colour and outlined in black: the always-on-top lamp.
class FilledShape : public QWidget {
public:
    explicit FilledShape(QWidget* parent = nullptr);
    void SetFillColor(const QColor& color);
    QColor FillColor() const { return fill_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QColor fill_;
};

// A rectangle outline with no fill, drawn behind the controls it frames.
class OutlineShape : public QWidget {
public:
    explicit OutlineShape(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent*) override;
};

// A one-pixel horizontal separator line.
class LineShape : public QWidget {
public:
    explicit LineShape(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent*) override;
};

#include <QGroupBox>

// A group frame whose border runs through the middle of its title, so that controls placed
// just below the title stay clear of the line whatever the face's height.
class TitledFrame : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent*) override;
};

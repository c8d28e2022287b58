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

// The floor for start-up time and memory: a plain Qt window holding the same 32 controls as
// the main window, at the same places, with the same captions and fonts, but no data file,
// no icons and no handlers.
#include "platform/units.h"
#include "resources/fonts.h"
#include "resources/texts.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

template <typename W> W* Put(W* w, int left, int top, int width, int height)
{
    w->setGeometry(Units::Px(left), Units::Px(top), Units::Px(width), Units::Px(height));
    return w;
}

QPushButton* Button(QWidget* parent, const QString& caption, int left, int top, int width,
                    int height)
{
    return Put(new QPushButton(caption, parent), left, top, width, height);
}

QLabel* Label(QWidget* parent, const QString& text, int left, int top, int width, int height)
{
    return Put(new QLabel(text, parent), left, top, width, height);
}

QLabel* Display(QWidget* parent, const QString& text, int left, int top, int width, int height)
{
    QLabel* label = Label(parent, text, left, top, width, height);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setFont(Fonts::Gothic(9.75));
    return label;
}

QLineEdit* TextBox(QWidget* parent, int left, int top, int width, int height)
{
    QLineEdit* box = Put(new QLineEdit(parent), left, top, width, height);
    box->setFont(Fonts::Gothic(12));
    return box;
}

QFrame* Shape(QWidget* parent, QFrame::Shape shape, int left, int top, int width, int height)
{
    QFrame* frame = Put(new QFrame(parent), left, top, width, height);
    frame->setFrameShape(shape);
    return frame;
}

void Build(QWidget& w)
{
    w.setWindowTitle(Texts::MainCaption);
    w.setFont(Fonts::Gothic(9));
    // Client width and browsing height of the main window.
    w.setFixedSize(Units::Px(5730), Units::Px(2748 - (4665 - 4290)));

    Put(new QComboBox(&w), 90, 60, 2850, 315);
    Button(&w, Texts::AddCaption, 3060, 60, 795, 315);
    Button(&w, Texts::EditCaption, 3960, 60, 795, 315);
    Button(&w, Texts::DeleteCaption, 4875, 60, 795, 315);

    QGroupBox* frame = Put(new QGroupBox(Texts::DataFrameCaption, &w), 48, 408, 5280, 1365);
    Label(frame, Texts::IdLabel, 165, 285, 225, 180);
    Display(frame, Texts::NotEntered, 510, 225, 3045, 300);
    Button(frame, Texts::CopyIdCaption, 3690, 225, 1464, 315);
    Label(frame, Texts::PwLabel, 135, 630, 240, 180);
    Display(frame, Texts::NotEntered, 510, 600, 3045, 285);
    Button(frame, Texts::CopyPwCaption, 3690, 600, 1464, 315);
    Label(frame, Texts::UrlLabel, 135, 1005, 690, 180);
    Display(frame, Texts::PlaceholderUrl, 960, 960, 3045, 285);
    Button(frame, Texts::OpenUrlCaption, 4080, 960, 1095, 315);

    Shape(&w, QFrame::Box, 5415, 480, 270, 135);
    Button(&w, Texts::TopCaption, 5400, 615, 285, 1680)->setFont(Fonts::Tahoma(9));

    Shape(&w, QFrame::Box, 60, 1815, 5235, 480);
    Label(&w, Texts::ClipboardLabel, 300, 1980, 1515, 180)->setFont(Fonts::Gothic(8.25));
    Display(&w, QString(), 1905, 1920, 2535, 255);
    Button(&w, Texts::SortCaption, 4560, 1905, 600, 285);
    Shape(&w, QFrame::HLine, 105, 2400, 5535, 15);

    Label(&w, Texts::HeadingLabel, 150, 2610, 495, 180);
    TextBox(&w, 705, 2520, 3240, 360);
    Label(&w, Texts::EditIdLabel, 165, 3045, 240, 180);
    TextBox(&w, 705, 2955, 3240, 372);
    Label(&w, Texts::PwLabel, 150, 3480, 240, 180);
    TextBox(&w, 705, 3405, 3240, 372);
    Label(&w, Texts::UrlLabel, 165, 3930, 690, 180);
    TextBox(&w, 930, 3840, 3750, 372);
    Label(&w, Texts::GroupHint, 4035, 2550, 1620, 765)->setWordWrap(true);
    Button(&w, Texts::CommitCaptionAtStart, 4095, 3390, 765, 360);
    Button(&w, Texts::BackCaption, 4920, 3390, 750, 360);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    Build(window);
    window.show();
    return app.exec();
}

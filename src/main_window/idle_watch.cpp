#include "idle_watch.h"

#include <QCoreApplication>
#include <QEvent>

IdleWatch::IdleWatch(QObject* parent) : QObject(parent)
{
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &IdleWatch::Idle);
    // The application sees the input of every window the program opens, dialogs too.
    QCoreApplication::instance()->installEventFilter(this);
}

IdleWatch::~IdleWatch()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

void IdleWatch::Watch(int minutes)
{
    if (minutes <= 0) {
        timer_.stop();
        return;
    }
    timer_.setInterval(minutes * 60 * 1000);
    timer_.start();
}

bool IdleWatch::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
        if (timer_.isActive())
            timer_.start();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

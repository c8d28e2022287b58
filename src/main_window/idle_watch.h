#pragma once

#include <QObject>
#include <QTimer>

// Notices when the user has not touched the program's windows for a while: every key, click,
// mouse move or wheel turn in any of them starts the wait again.
class IdleWatch : public QObject {
    Q_OBJECT
public:
    explicit IdleWatch(QObject* parent = nullptr);
    ~IdleWatch() override;

    // Waits `minutes` from now, and again after each input; 0 stops waiting.
    void Watch(int minutes);
    bool Watching() const { return timer_.isActive(); }
    // What is left of the wait, in milliseconds; -1 when not watching.
    int Remaining() const { return timer_.remainingTime(); }

signals:
    // The wait went by without input. The watch stops until Watch() is called again.
    void Idle();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTimer timer_;
};

#include "base/WaitPumping.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

void WaitPumping(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        QThread::msleep(1);
    }
}

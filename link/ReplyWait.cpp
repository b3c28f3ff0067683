#include "ReplyWait.h"

#include <QElapsedTimer>

void collectReply(SerialLink& port, QByteArray& reply, qsizetype wanted, int msecs) {
    QElapsedTimer clock;
    clock.start();
    while (reply.size() < wanted) {
        const qint64 left = msecs - clock.elapsed();
        if (left <= 0)
            break;
        if (!port.waitForReadyRead(int(left)))
            break; // the whole wait went by with nothing new
        reply += port.readAll();
    }
}

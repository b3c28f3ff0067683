#include "LineThread.h"

LineThread::LineThread(BoxLine::MakePort makePort)
    : m_thread(new QThread), m_line(new BoxLine(std::move(makePort))) {
    m_thread->setObjectName(QStringLiteral("box line"));
    m_line->moveToThread(m_thread);
    // The line goes on its own thread, after its last event there.
    QObject::connect(m_thread, &QThread::finished, m_line, &QObject::deleteLater);
    m_thread->start();
}

bool LineThread::end(int waitMs) {
    if (!m_endAsked) {
        m_endAsked = true;
        QMetaObject::invokeMethod(m_line, &BoxLine::stop, Qt::QueuedConnection);
        m_thread->quit();
    }
    return m_thread->wait(QDeadlineTimer(waitMs));
}

LineThread::~LineThread() {
    if (!end()) {
        // Stuck in the system: destroying a running thread would end the
        // program with an error, and terminating it could leave a lock held.
        // It cleans up after itself if it ever returns.
        QObject::connect(m_thread, &QThread::finished, m_thread, &QObject::deleteLater);
        return;
    }
    delete m_thread;
}

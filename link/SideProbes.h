#pragma once

#include "ProbeSchedule.h"
#include "SerialLink.h"

#include <QList>
#include <QSet>
#include <QString>
#include <functional>
#include <memory>
#include <mutex>

// Probes a port on a thread of its own, which makes, opens, wakes and probes,
// closes and destroys the port there: a port that takes seconds to open (a
// Bluetooth link) or whose driver never completes holds up only that thread.
// Results are collected by polling; nothing calls back. A probe still stuck in
// the system when its owner goes is left behind, never terminated; it touches
// nothing of its owner's when it finally returns.
class SideProbes {
public:
    using MakePort = std::function<std::unique_ptr<SerialLink>(const QString& device)>;
    struct Result {
        QString device;
        ProbeSchedule::Outcome outcome; // never Slow: the owner decides that
    };

    // `makePort` is copied to each probe's thread and called there: it must
    // hold nothing the owner frees.
    explicit SideProbes(MakePort makePort);
    ~SideProbes(); // does not wait for probes still running

    // Nothing happens while a probe of the same device is running.
    void start(const QString& device);
    bool running(const QString& device) const;
    // The probes that have ended since the last call.
    QList<Result> finished();

private:
    // Shared by the owner and every probe thread, so that a probe ending after
    // its owner has gone still has somewhere to leave its result.
    struct Mailbox {
        mutable std::mutex mutex;
        QSet<QString> running;
        QList<Result> finished;
    };

    MakePort m_makePort;
    std::shared_ptr<Mailbox> m_mailbox = std::make_shared<Mailbox>();
};

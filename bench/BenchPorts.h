#pragma once

#include "link/QtSerialLink.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <chrono>
#include <memory>
#include <mutex>

// The serial ports a bench run shows the program: pseudo-terminals the run
// lists as present, one of them the named port, and optionally one whose
// opening takes seconds, as a Bluetooth link's does on Windows (a real tty
// on Linux opens at once). It notes each opening, so that a run can count
// how often the search touched each port. Shared by the line's port and
// every port the search makes for its probes, on whatever thread they run.
class BenchPorts {
public:
    static constexpr std::chrono::milliseconds SlowOpen{4000};

    BenchPorts(QString named, QStringList present, QString slow = {});

    QString named() const;
    QList<PortSearch::PresentPort> present() const;
    // Plugs a port in, or pulls it out, as the system's list shows it.
    void plugIn(const QString& device);
    void pullOut(const QString& device);

    struct Opening {
        QString device;
        std::chrono::steady_clock::time_point at; // when open() was called
    };
    QList<Opening> openings() const;
    qsizetype openingsOf(const QString& device) const;
    // A slow opening is under way now.
    bool slowOpening() const;

    // The line's port, as the program makes it; it makes the search's ports.
    static std::unique_ptr<SerialLink> lineOf(const std::shared_ptr<BenchPorts>& ports);

private:
    friend class BenchLink;
    bool isSlow(const QString& device) const { return device == m_slow; }
    void noteOpening(const QString& device);
    void slowOpeningUnderWay(bool underWay);

    mutable std::mutex m_mutex;
    QString m_named;
    QStringList m_present;
    const QString m_slow;
    QList<Opening> m_openings;
    int m_slowOpenings = 0;
};

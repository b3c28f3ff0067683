#pragma once

#include "Platform.h"
#include "PortSearch.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// Which ports the search for the box probes, and when. Pure: it is told what
// the system lists and what each probe found, and keeps no clock of its own.
//
// - The named port (COM PortNo) and the port where the box last answered:
//   every round (rounds start at most once a second; the caller paces them).
// - Any other port: when it first appears; while it stays silent, again after
//   intervals that double from 2 s up to 30 s. One that answered with anything
//   but the box's identity is left alone until it goes away and comes back.
//   One slow to open (its probe did not come back within the probe's wait) is
//   probed last in a round. One whose probe is still running is not probed.
// - Ports that cannot be the box (Bluetooth links and USB CDC devices on
//   Windows, ttyACM* on Linux) are probed only when named.
class ProbeSchedule {
public:
    enum class Outcome {
        Box,          // answered with the box's identity
        Silent,       // opened, answered nothing
        Other,        // answered something else: a printer, a board's firmware
        WouldNotOpen, // missing, busy or refused
        Slow          // its probe has not come back within the probe's wait
    };
    // A port left alone this round, and why (for perix-io find).
    enum class Skip { CannotBeBox, AnsweredOther, Resting, StillProbing };
    struct Skipped {
        QString device;
        Skip why;
    };
    struct Round {
        QStringList probe; // in order: named, last answered, others, slow ones last
        QList<Skipped> leftAlone;
    };

    // The first rest of a silent port, doubled after each silent probe up to
    // the longest: 2, 4, 8, 16, 30, 30 s.
    static constexpr qint64 FirstRestMs = 2000;
    static constexpr qint64 LongestRestMs = 30000;

    explicit ProbeSchedule(Platform platform = ThisPlatform) : m_platform(platform) {}

    // The ports to probe in a round starting at `nowMs`, given the named
    // device and the ports the system lists now. Ports no longer listed are
    // forgotten: back again, they count as new.
    Round round(const QString& named, const QList<PortSearch::PresentPort>& present, qint64 nowMs);
    // A probe of `device` has started / has ended with `outcome`.
    void started(const QString& device, qint64 nowMs);
    void probed(const QString& device, Outcome outcome, qint64 nowMs);
    // Where the box last answered; empty before it ever has.
    QString lastAnswered() const;

private:
    struct Memory {
        qint64 dueMs = 0;  // not probed again before
        qint64 restMs = 0; // the rest after its next silent probe; 0: the first
        bool answeredOther = false;
        bool slow = false;
        bool probing = false;
        bool gone = false; // went away while its probe ran: new when back
    };

    Platform m_platform;
    // By device, as the rounds name them. A port no longer listed is forgotten,
    // unless its probe is still running.
    QHash<QString, Memory> m_ports;
    QString m_lastAnswered;
};

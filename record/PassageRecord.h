#pragma once

#include "PassageIntervals.h"
#include "RecordFile.h"
#include "measuring/TenthClock.h"

#include <QByteArray>
#include <QDateTime>
#include <QIODevice>
#include <chrono>
#include <memory>
#include <optional>

// The lesson's record: one line per passage of the bob, in a file that a
// spreadsheet opens. ASCII, lines ending CR LF:
//
//   passage,time,interval_s,shown_s
//   1,2026-12-07T14:05:03.120,,0.9
//   2,2026-12-07T14:05:04.370,1.250,1.2
//
// passage counts from 1. time is the local time of the sample in which the
// passage was seen, to the millisecond. interval_s is the time since the
// previous passage by the monotonic clock, to the millisecond; empty for the
// first passage and for the first after a gap. shown_s is the number the
// display showed for the passage ("0.7", "1.3", "2", "6000"), empty where it
// showed none.
//
// Each line goes to the system as soon as it is made, so a crash of the
// program loses nothing; no line waits for the disk itself, which on a USB
// stick or a network folder could hold the sampling up. Writing never stops
// or delays measuring: once a line cannot be written the record ends, keeping
// what it has, and later passages are not written.
class PassageRecord {
public:
    // The first line, which names the columns.
    static constexpr char Header[] = "passage,time,interval_s,shown_s";

    // Starts the record of a run at `place`: its file and the header line.
    // Nothing when either cannot be made.
    static std::unique_ptr<PassageRecord> begin(const RecordPlace& place,
                                                TenthClock::Now monotonic);

    // `out` is open for writing; `monotonic` is the clock the passages' times
    // come from.
    PassageRecord(std::unique_ptr<QIODevice> out, TenthClock::Now monotonic,
                  RecordPlace::WallNow wallNow);

    // Writes the header line. False, and the record ended, when it cannot.
    bool start();
    // A passage seen in the sample taken at `seenAt` by the monotonic clock,
    // and the tenths shown for it; none after a gap in sampling.
    void passage(std::chrono::nanoseconds seenAt, std::optional<int> shownTenths);
    // Sampling was interrupted (the box went and came back, say): the next
    // passage has no interval.
    void gap();

    bool writing() const { return m_out != nullptr; }

private:
    void takeWallTime();
    bool writeLine(const QByteArray& line);

    std::unique_ptr<QIODevice> m_out;
    TenthClock::Now m_monotonic;
    RecordPlace::WallNow m_wallNow;
    // The wall clock and the monotonic one read together; the passages'
    // times are counted on from there.
    QDateTime m_wallAt;
    std::chrono::nanoseconds m_monotonicAt{};
    PassageIntervals m_intervals;
    int m_passages = 0;
};

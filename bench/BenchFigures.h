#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <cmath>
#include <optional>

// The figures of one bench run, read from what the measured processes
// printed, and the table they make.
struct BenchFigures {
    struct Accuracy {
        double apart = 0;     // seconds between passages, the truth
        QList<double> errors; // shown minus true interval, seconds
        int missed = 0;       // passages that gave no readout
        int adapterMs = 0;    // through a USB adapter with this latency timer; 0 none
    };
    // The lesson's record against the same pendulum: its intervals paired in
    // order with the readouts' true intervals.
    struct Record {
        double apart = 0;
        QList<double> errors;     // recorded minus true interval, seconds
        QList<double> meanErrors; // the same over each run of twenty intervals
        int missed = 0;           // passages that gave no line
        QString problem;          // why there is nothing to compare, if so
        int adapterMs = 0;        // as for Accuracy
    };
    struct Drift {
        int tenths = 0;         // TenthCount at the end
        int ticks = 0;          // Timer2's ticks meanwhile, as counting them alone would give
        qint64 nanoseconds = 0; // the monotonic clock meanwhile
        // Counted minus the whole tenths the clock has passed.
        qint64 off(qint64 counted) const { return counted - nanoseconds / 100'000'000; }
        double share(qint64 counted) const {
            return double(off(counted)) * 1e8 / double(nanoseconds);
        }
    };
    struct Cost {
        double coreShare = 0;
        long peakKiB = 0;
        double wakeupsPerSecond = 0; // context switches of the event loop's thread
        // Of every thread, the line's and the probes' too; 0 where not measured.
        double allWakeupsPerSecond = 0;
    };

    // The search for a box that answers nowhere, with silent ports present
    // and one slow to open: what it costs, and how often the named port and
    // the others were probed.
    struct Search {
        Cost cost;
        int otherPorts = 0; // besides the named one
        double seconds = 0;
        double namedProbesPerSecond = 0;
        int otherProbesMost = 0; // of the port probed most often
    };

    // Each reads the lines one measured process printed.
    static Accuracy accuracy(double apart, const QList<QByteArray>& lines);
    static QList<double> latencies(const QList<QByteArray>& lines);
    // From the readouts the record run printed and the record file it wrote.
    static Record record(double apart, const QList<QByteArray>& lines, const QByteArray& csv);
    static std::optional<Drift> drift(const QList<QByteArray>& lines);
    static std::optional<Cost> cost(const QList<QByteArray>& lines);
    // From the cost the search run printed and the bytes its silent ports
    // received over the whole run (each probe sends three): the named port's,
    // and each other port's.
    static std::optional<Search> search(const QList<QByteArray>& lines, qint64 namedBytes,
                                        const QList<qint64>& otherBytes, double seconds);
    // Voluntary plus involuntary context switches, read from the text of
    // /proc/<pid>/status: each is one time the thread slept or was put off,
    // and woke again. Nothing when either count is missing.
    static std::optional<qint64> contextSwitches(const QByteArray& procStatus);

    // The goals, each written once for its text and its comparison.
    static constexpr double LatencyGoalMs = 20;     // under
    static constexpr double DriftGoalShare = 0.001; // under
    static constexpr double CpuRatioGoal = 1.5;     // at most, to the bare program's
    static constexpr double MemoryRatioGoal = 1.2;  // at most, to the bare program's
    static constexpr double StartupGoalMs = 300;    // under
    // Wake-ups at most this many times the bare program's, with the CPU
    // ratio below what it was while each sample woke Tolvane three times.
    static constexpr double WakeupRatioGoal = 2.2;
    static constexpr double CpuRatioBefore = 2.5;

    // The search probes the named port about once a second at most; the
    // others far less often, after rests that double.
    static constexpr double NamedProbesPerSecondGoal = 1.05;

    // A readout is inside the resolution when it is off by less than a tenth
    // either way, plus one 10 ms sample.
    static constexpr double Resolution = 0.1 + 0.01;
    static bool insideResolution(double error) { return std::abs(error) < Resolution; }
    // A recorded interval is inside when it is off by at most one 10 ms
    // sample and a little for the timer's jitter; twenty of them together
    // within a few milliseconds.
    static constexpr double RecordTolerance = 0.015;
    static constexpr int RecordRun = 20;
    static constexpr double RecordMeanTolerance = 0.003;
    // The accuracy and record runs are made again through a USB adapter that
    // hands the box's replies over in bunches, as FTDI's do by default.
    static constexpr int AdapterMs = 16;

    QString machine;
    QString when;
    QString loadAtEnd;
    double wallSeconds = 0;
    QList<Accuracy> accuracies;
    QList<double> latencyMs;
    QList<Record> records;
    std::optional<Drift> driftIdle;
    std::optional<Drift> driftBusy;
    int busyCores = 0;
    // Tolvane on the bench's own box, and the bare program beside it.
    std::optional<Cost> costTolvane;
    std::optional<Cost> costBare;
    // Tolvane as users run it: the real program with --port on perix-sim,
    // measured from outside, and the bare program beside it.
    std::optional<Cost> costAsRun;
    std::optional<Cost> costBareBesideRun;
    // Tolvane searching for a box that is nowhere.
    std::optional<Search> searchNoBox;
    QList<double> startupBoxMs;
    QList<double> startupNoPortMs;

    QString table() const;
};

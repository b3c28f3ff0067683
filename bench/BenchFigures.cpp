#include "BenchFigures.h"

#include "record/PassageRecord.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

QList<QList<QByteArray>> fields(const QList<QByteArray>& lines, const QByteArray& tag) {
    QList<QList<QByteArray>> found;
    for (const QByteArray& line : lines) {
        const QList<QByteArray> f = line.trimmed().split(' ');
        if (f.value(0) == tag)
            found.append(f.mid(1));
    }
    return found;
}

double mean(const QList<double>& xs) {
    return xs.isEmpty() ? 0 : std::accumulate(xs.begin(), xs.end(), 0.0) / double(xs.size());
}

// The share of `all` that `part` is, in per cent; none of nothing.
double percentOf(qsizetype part, qsizetype all) {
    return all == 0 ? 0.0 : 100.0 * double(part) / double(all);
}

double worstBySize(const QList<double>& xs) {
    double worst = 0;
    for (double x : xs)
        if (std::abs(x) > std::abs(worst))
            worst = x;
    return worst;
}

// The value below which the given share of the sorted values lie.
double quantile(QList<double> xs, double share) {
    std::sort(xs.begin(), xs.end());
    return xs.isEmpty() ? 0 : xs[qsizetype(std::ceil(share * double(xs.size()))) - 1];
}

QString yesNo(bool met) {
    return met ? QStringLiteral("yes") : QStringLiteral("no");
}

struct Row {
    QString measure, figure, goal, met;
};

QString driftFigure(const BenchFigures::Drift& d) {
    const auto off = [&](qint64 counted) {
        return QStringLiteral("%1 % (%2 tenths)")
            .arg(100 * d.share(counted), 0, 'f', 3)
            .arg(d.off(counted));
    };
    return QStringLiteral("TenthCount off by %1 over %2 s; Timer2's ticks alone: %3")
        .arg(off(d.tenths))
        .arg(double(d.nanoseconds) / 1e9, 0, 'f', 1)
        .arg(off(d.ticks));
}

bool driftMet(const BenchFigures::Drift& d) {
    return std::abs(d.share(d.tenths)) < BenchFigures::DriftGoalShare;
}

// Within a tolerance given to the millisecond: the last digit's rounding is no miss.
bool within(double error, double tolerance) {
    return std::abs(error) <= tolerance + 1e-9;
}

// Runs through a USB adapter say so after what they measure.
QString throughAdapter(int adapterMs) {
    return adapterMs > 0 ? QStringLiteral(", through a %1 ms adapter").arg(adapterMs) : QString();
}

Row recordRow(const BenchFigures::Record& r) {
    const QString measure =
        QStringLiteral("Record, passages %1 s apart").arg(r.apart) + throughAdapter(r.adapterMs);
    const QString goal = QStringLiteral("each ±%1 s, means of %2 ±%3 s")
                             .arg(BenchFigures::RecordTolerance, 0, 'f', 3)
                             .arg(BenchFigures::RecordRun)
                             .arg(BenchFigures::RecordMeanTolerance, 0, 'f', 3);
    if (!r.problem.isEmpty())
        return {measure, QStringLiteral("not measured: ") + r.problem, goal, QStringLiteral("no")};
    const auto inside = std::count_if(r.errors.begin(), r.errors.end(), [](double e) {
        return within(e, BenchFigures::RecordTolerance);
    });
    const bool meansInside = !r.meanErrors.isEmpty() &&
                             std::all_of(r.meanErrors.begin(), r.meanErrors.end(), [](double m) {
                                 return within(m, BenchFigures::RecordMeanTolerance);
                             });
    QString figure = QStringLiteral("%1 intervals, %2 % inside ±%3 s, worst %4 s; ")
                         .arg(r.errors.size())
                         .arg(percentOf(inside, r.errors.size()), 0, 'f', 1)
                         .arg(BenchFigures::RecordTolerance, 0, 'f', 3)
                         .arg(worstBySize(r.errors), 0, 'f', 3);
    if (r.meanErrors.isEmpty())
        figure += QStringLiteral("too few for a mean of %1").arg(BenchFigures::RecordRun);
    else
        figure += QStringLiteral("%1 means of %2, worst %3 s")
                      .arg(r.meanErrors.size())
                      .arg(BenchFigures::RecordRun)
                      .arg(worstBySize(r.meanErrors), 0, 'f', 4);
    if (r.missed > 0)
        figure += QStringLiteral(", passages missed: %1").arg(r.missed);
    return {
        measure, figure, goal,
        yesNo(!r.errors.isEmpty() && inside == r.errors.size() && meansInside && r.missed == 0)};
}

Row startupRow(const QString& measure, const QList<double>& ms) {
    const QString goal = QStringLiteral("under %1 ms").arg(BenchFigures::StartupGoalMs);
    if (ms.isEmpty())
        return {measure, QStringLiteral("not measured: the window never painted"), goal,
                QStringLiteral("no")};
    const double worst = *std::max_element(ms.begin(), ms.end());
    return {measure,
            QStringLiteral("median %1 ms, worst %2 ms (%3 runs)")
                .arg(quantile(ms, 0.5), 0, 'f', 0)
                .arg(worst, 0, 'f', 0)
                .arg(ms.size()),
            goal, yesNo(worst < BenchFigures::StartupGoalMs)};
}

Row accuracyRow(const BenchFigures::Accuracy& a) {
    const QString measure =
        QStringLiteral("Accuracy, passages %1 s apart").arg(a.apart) + throughAdapter(a.adapterMs);
    const auto inside =
        std::count_if(a.errors.begin(), a.errors.end(), BenchFigures::insideResolution);
    QList<double> sizes;
    for (double e : a.errors)
        sizes.append(std::abs(e));
    QString figure =
        QStringLiteral("%1 readouts, %2 % inside ±%3 s, worst %4 s, mean %5 s (size %6 s)")
            .arg(a.errors.size())
            .arg(percentOf(inside, a.errors.size()), 0, 'f', 1)
            .arg(BenchFigures::Resolution, 0, 'f', 2)
            .arg(worstBySize(a.errors), 0, 'f', 3)
            .arg(mean(a.errors), 0, 'f', 3)
            .arg(mean(sizes), 0, 'f', 3);
    if (a.missed > 0)
        figure += QStringLiteral(", passages missed: %1").arg(a.missed);
    return {measure, figure, QStringLiteral("100 % inside"),
            yesNo(!a.errors.isEmpty() && inside == a.errors.size() && a.missed == 0)};
}

Row latencyRow(const QList<double>& ms) {
    const QString measure = QStringLiteral("Latency, bob cuts the beam to new text painted");
    const QString goal = QStringLiteral("under %1 ms").arg(BenchFigures::LatencyGoalMs);
    if (ms.isEmpty())
        return {measure, QStringLiteral("not measured: no new text was painted"), goal,
                QStringLiteral("no")};
    return {measure,
            QStringLiteral("mean %1 ms, 95 % under %2 ms, worst %3 ms (%4 new texts)")
                .arg(mean(ms), 0, 'f', 1)
                .arg(quantile(ms, 0.95), 0, 'f', 1)
                .arg(quantile(ms, 1.0), 0, 'f', 1)
                .arg(ms.size()),
            goal, yesNo(quantile(ms, 1.0) < BenchFigures::LatencyGoalMs)};
}

Row driftRow(const QString& measure, const std::optional<BenchFigures::Drift>& d) {
    const QString goal = QStringLiteral("under %1 %").arg(100 * BenchFigures::DriftGoalShare);
    if (!d)
        return {measure, QStringLiteral("not measured: the run printed nothing"), goal,
                QStringLiteral("no")};
    return {measure, driftFigure(*d), goal, yesNo(driftMet(*d))};
}

// The wake-ups of the line's thread and the rest, where measured: the goal
// is the window's thread's, which the line's thread spares.
QString allThreads(const BenchFigures::Cost& c) {
    return c.allWakeupsPerSecond > 0 ? QStringLiteral("; Tolvane's threads together %1/s")
                                           .arg(c.allWakeupsPerSecond, 0, 'f', 0)
                                     : QString();
}

// What the three cost rows of one pair are called.
struct CostMeasures {
    QString cpu, memory, wakeups;
};

QList<Row> costRows(const CostMeasures& m, const std::optional<BenchFigures::Cost>& tolvane,
                    const std::optional<BenchFigures::Cost>& bare) {
    if (!tolvane || !bare) {
        QList<Row> rows;
        for (const QString& measure : {m.cpu, m.memory, m.wakeups})
            rows.append({measure, QStringLiteral("not measured: a cost run printed nothing"),
                         QStringLiteral("see above"), QStringLiteral("no")});
        return rows;
    }
    const double cpuRatio = tolvane->coreShare / bare->coreShare;
    const double memRatio = double(tolvane->peakKiB) / double(bare->peakKiB);
    const Row cpu{m.cpu,
                  QStringLiteral("Tolvane %1 %, bare Qt %2 %, ratio %3 ×")
                      .arg(100 * tolvane->coreShare, 0, 'f', 2)
                      .arg(100 * bare->coreShare, 0, 'f', 2)
                      .arg(cpuRatio, 0, 'f', 2),
                  QStringLiteral("at most %1 ×").arg(BenchFigures::CpuRatioGoal),
                  yesNo(cpuRatio <= BenchFigures::CpuRatioGoal)};
    const Row memory{m.memory,
                     QStringLiteral("Tolvane %1 MiB, bare Qt %2 MiB, ratio %3 ×")
                         .arg(double(tolvane->peakKiB) / 1024, 0, 'f', 1)
                         .arg(double(bare->peakKiB) / 1024, 0, 'f', 1)
                         .arg(memRatio, 0, 'f', 2),
                     QStringLiteral("at most %1 ×").arg(BenchFigures::MemoryRatioGoal),
                     yesNo(memRatio <= BenchFigures::MemoryRatioGoal)};
    if (tolvane->wakeupsPerSecond <= 0 || bare->wakeupsPerSecond <= 0)
        return {cpu, memory,
                Row{m.wakeups, QStringLiteral("not measured: no context switches in /proc"),
                    QStringLiteral("see above"), QStringLiteral("no")}};
    const double wakeupRatio = tolvane->wakeupsPerSecond / bare->wakeupsPerSecond;
    return {cpu, memory,
            Row{m.wakeups,
                QStringLiteral("Tolvane %1/s, bare Qt %2/s, ratio %3 ×; CPU ratio %4 ×")
                        .arg(tolvane->wakeupsPerSecond, 0, 'f', 0)
                        .arg(bare->wakeupsPerSecond, 0, 'f', 0)
                        .arg(wakeupRatio, 0, 'f', 2)
                        .arg(cpuRatio, 0, 'f', 2) +
                    allThreads(*tolvane),
                QStringLiteral("at most %1 ×, CPU ratio below %2 ×")
                    .arg(BenchFigures::WakeupRatioGoal)
                    .arg(BenchFigures::CpuRatioBefore),
                yesNo(wakeupRatio <= BenchFigures::WakeupRatioGoal &&
                      cpuRatio < BenchFigures::CpuRatioBefore)}};
}

// A Markdown table, aligned so that it also reads as plain text.
QString markdown(const QList<Row>& rows) {
    const Row header{QStringLiteral("Measure"), QStringLiteral("Figure"), QStringLiteral("Goal"),
                     QStringLiteral("Met")};
    qsizetype w[4] = {header.measure.size(), header.figure.size(), header.goal.size(),
                      header.met.size()};
    for (const Row& r : rows) {
        w[0] = std::max(w[0], r.measure.size());
        w[1] = std::max(w[1], r.figure.size());
        w[2] = std::max(w[2], r.goal.size());
        w[3] = std::max(w[3], r.met.size());
    }
    const auto line = [&](const Row& r) {
        return QStringLiteral("| %1 | %2 | %3 | %4 |\n")
            .arg(r.measure, int(-w[0]))
            .arg(r.figure, int(-w[1]))
            .arg(r.goal, int(-w[2]))
            .arg(r.met, int(-w[3]));
    };
    QString out = line(header);
    out += QStringLiteral("|%1|%2|%3|%4|\n")
               .arg(QString(w[0] + 2, QLatin1Char('-')), QString(w[1] + 2, QLatin1Char('-')),
                    QString(w[2] + 2, QLatin1Char('-')), QString(w[3] + 2, QLatin1Char('-')));
    for (const Row& r : rows)
        out += line(r);
    return out;
}

// Looking for a box that is nowhere must cost no more than measuring does,
// counting the line's thread and the probes' threads as well as the window's.
Row searchRow(const std::optional<BenchFigures::Search>& search,
              const std::optional<BenchFigures::Cost>& measuring) {
    const QString measure =
        QStringLiteral("Searching for the box, none there, %1 silent ports and one slow to open")
            .arg(search ? search->otherPorts : 0);
    const QString goal = QStringLiteral("CPU and wake-ups (window's thread, all threads) at most "
                                        "measuring's; the named port at most %1 probes a second")
                             .arg(BenchFigures::NamedProbesPerSecondGoal);
    if (!search || !measuring)
        return {measure, QStringLiteral("not measured: a cost run printed nothing"), goal,
                QStringLiteral("no")};
    const BenchFigures::Cost& c = search->cost;
    return {measure,
            QStringLiteral("%1 % of a core, %2 wake-ups/s (all threads %3/s); named port %4 "
                           "probes a second, the others at most %5 each in %6 s; "
                           "measuring %7 %, %8/s (all threads %9/s)")
                .arg(100 * c.coreShare, 0, 'f', 2)
                .arg(c.wakeupsPerSecond, 0, 'f', 0)
                .arg(c.allWakeupsPerSecond, 0, 'f', 0)
                .arg(search->namedProbesPerSecond, 0, 'f', 2)
                .arg(search->otherProbesMost)
                .arg(search->seconds, 0, 'f', 0)
                .arg(100 * measuring->coreShare, 0, 'f', 2)
                .arg(measuring->wakeupsPerSecond, 0, 'f', 0)
                .arg(measuring->allWakeupsPerSecond, 0, 'f', 0),
            goal,
            yesNo(c.coreShare <= measuring->coreShare &&
                  c.wakeupsPerSecond <= measuring->wakeupsPerSecond &&
                  c.allWakeupsPerSecond <= measuring->allWakeupsPerSecond &&
                  search->namedProbesPerSecond <= BenchFigures::NamedProbesPerSecondGoal)};
}

} // namespace

BenchFigures::Accuracy BenchFigures::accuracy(double apart, const QList<QByteArray>& lines) {
    Accuracy a;
    a.apart = apart;
    for (const QList<QByteArray>& f : fields(lines, "R")) {
        const int tenths = f.value(0).toInt();
        const double truth = f.value(1).toDouble();
        a.errors.append(tenths * 0.1 - truth);
        a.missed += std::max(0, int(std::lround(truth / apart)) - 1);
    }
    return a;
}

QList<double> BenchFigures::latencies(const QList<QByteArray>& lines) {
    QList<double> ms;
    for (const QList<QByteArray>& f : fields(lines, "L"))
        ms.append(f.value(0).toDouble());
    return ms;
}

BenchFigures::Record BenchFigures::record(double apart, const QList<QByteArray>& lines,
                                          const QByteArray& csv) {
    Record r;
    r.apart = apart;
    const QList<QByteArray> rows = csv.split('\n');
    if (rows.value(0).trimmed() != PassageRecord::Header) {
        r.problem = QStringLiteral("no record file");
        return r;
    }
    QList<double> recorded;
    for (qsizetype i = 1; i < rows.size(); ++i) {
        const QList<QByteArray> f = rows[i].trimmed().split(',');
        if (f.size() == 4 && !f[2].isEmpty())
            recorded.append(f[2].toDouble());
    }
    const auto readouts = fields(lines, "R");
    if (readouts.size() != recorded.size()) {
        r.problem = QStringLiteral("the record has %1 intervals, the readouts %2")
                        .arg(recorded.size())
                        .arg(readouts.size());
        return r;
    }
    for (qsizetype i = 0; i < recorded.size(); ++i) {
        const double truth = readouts[i].value(1).toDouble();
        r.errors.append(recorded[i] - truth);
        r.missed += std::max(0, int(std::lround(truth / apart)) - 1);
    }
    for (qsizetype from = 0; from + RecordRun <= r.errors.size(); from += RecordRun)
        r.meanErrors.append(mean(r.errors.mid(from, RecordRun)));
    return r;
}

std::optional<BenchFigures::Drift> BenchFigures::drift(const QList<QByteArray>& lines) {
    const auto found = fields(lines, "T");
    if (found.isEmpty())
        return std::nullopt;
    const QList<QByteArray>& f = found.first();
    return Drift{f.value(0).toInt(), f.value(1).toInt(), f.value(2).toLongLong()};
}

std::optional<BenchFigures::Cost> BenchFigures::cost(const QList<QByteArray>& lines) {
    const auto found = fields(lines, "C");
    if (found.isEmpty())
        return std::nullopt;
    const QList<QByteArray>& f = found.first();
    return Cost{f.value(0).toDouble(), f.value(1).toLong(), f.value(2).toDouble(),
                f.value(3).toDouble()};
}

std::optional<BenchFigures::Search> BenchFigures::search(const QList<QByteArray>& lines,
                                                         qint64 namedBytes,
                                                         const QList<qint64>& otherBytes,
                                                         double seconds) {
    const std::optional<Cost> c = cost(lines);
    if (!c || seconds <= 0)
        return std::nullopt;
    const qint64 most =
        otherBytes.isEmpty() ? 0 : *std::max_element(otherBytes.begin(), otherBytes.end());
    return Search{*c, int(otherBytes.size()), seconds, double(namedBytes) / 3 / seconds,
                  int(most / 3)};
}

std::optional<qint64> BenchFigures::contextSwitches(const QByteArray& procStatus) {
    std::optional<qint64> voluntary;
    std::optional<qint64> involuntary;
    for (const QByteArray& line : procStatus.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        const QByteArray key = line.left(colon);
        bool ok = false;
        const qint64 count = line.mid(colon + 1).trimmed().toLongLong(&ok);
        if (colon < 0 || !ok)
            continue;
        if (key == "voluntary_ctxt_switches")
            voluntary = count;
        else if (key == "nonvoluntary_ctxt_switches")
            involuntary = count;
    }
    if (!voluntary || !involuntary)
        return std::nullopt;
    return *voluntary + *involuntary;
}

QString BenchFigures::table() const {
    QList<Row> rows;
    for (const Accuracy& a : accuracies)
        rows.append(accuracyRow(a));
    rows.append(latencyRow(latencyMs));
    for (const Record& r : records)
        rows.append(recordRow(r));
    rows.append(driftRow(QStringLiteral("Clock drift, idle"), driftIdle));
    rows.append(
        driftRow(QStringLiteral("Clock drift, %1 cores kept busy").arg(busyCores), driftBusy));
    rows += costRows({QStringLiteral("CPU, share of one core while measuring"),
                      QStringLiteral("Peak resident memory while measuring"),
                      QStringLiteral("Wake-ups per second while measuring")},
                     costTolvane, costBare);
    rows += costRows({QStringLiteral("tolvane --port on perix-sim: CPU, share of one core"),
                      QStringLiteral("tolvane --port on perix-sim: peak resident memory"),
                      QStringLiteral("tolvane --port on perix-sim: wake-ups per second")},
                     costAsRun, costBareBesideRun);
    rows.append(searchRow(searchNoBox, costTolvane));
    rows.append(startupRow(QStringLiteral("Start-up to window shown, box on a pseudo-terminal"),
                           startupBoxMs));
    rows.append(startupRow(QStringLiteral("Start-up to window shown, no port"), startupNoPortMs));

    return QStringLiteral("Tolvane bench, %1; %2\n\n").arg(when, machine) + markdown(rows) +
           QStringLiteral("\nLoad average at the end %1; the whole run took %2 s.\n")
               .arg(loadAtEnd)
               .arg(wallSeconds, 0, 'f', 0);
}

#include "bench/BenchFigures.h"

#include <QTest>
#include <algorithm>

namespace {

// A record file whose intervals are the given true interval plus each error,
// after the first passage, which has none; and the readouts beside it.
struct RecordRun {
    QByteArray csv = "passage,time,interval_s,shown_s\r\n1,2026-12-07T14:05:03.700,,0.7\r\n";
    QList<QByteArray> readouts;
};

RecordRun recordRun(double apart, const QList<double>& errorsMs, int passagesEach = 1) {
    RecordRun run;
    for (qsizetype i = 0; i < errorsMs.size(); ++i) {
        const double truth = apart * passagesEach;
        run.csv += QByteArray::number(i + 2) + ",2026-12-07T14:05:04.000," +
                   QByteArray::number(truth + errorsMs[i] / 1000, 'f', 3) + ",1.2\r\n";
        run.readouts.append("R 12 " + QByteArray::number(truth, 'f', 6));
    }
    return run;
}

QList<double> repeated(double errorMs, int times) {
    return QList<double>(times, errorMs);
}

} // namespace

class TestBenchFigures : public QObject {
    Q_OBJECT
private slots:
    // A readout's error is the time shown minus the true interval; a readout
    // spanning several passages tells of passages that gave none.
    void readouts_give_errors_and_missed_passages_data() {
        QTest::addColumn<double>("apart");
        QTest::addColumn<QByteArray>("printed");
        QTest::addColumn<QList<double>>("errors");
        QTest::addColumn<int>("missed");
        QTest::newRow("steady 1.25 s")
            << 1.25 << QByteArray("R 12 1.250000\nL 14.2\nR 13 1.250000\n")
            << QList<double>{-0.05, 0.05} << 0;
        QTest::newRow("one passage missed")
            << 0.3 << QByteArray("R 3 0.300000\nR 6 0.600000\n") << QList<double>{0, 0} << 1;
        QTest::newRow("two missed at once")
            << 4.7 << QByteArray("R 142 14.100000\n") << QList<double>{0.1} << 2;
        QTest::newRow("a second readout in one passage")
            << 9.9 << QByteArray("R 99 9.900000\nR 1 0.000000\n") << QList<double>{0, 0.1} << 0;
        QTest::newRow("nothing printed") << 2.3 << QByteArray() << QList<double>{} << 0;
    }

    void readouts_give_errors_and_missed_passages() {
        QFETCH(double, apart);
        QFETCH(QByteArray, printed);
        QFETCH(QList<double>, errors);
        QFETCH(int, missed);
        const BenchFigures::Accuracy a = BenchFigures::accuracy(apart, printed.split('\n'));
        QCOMPARE(a.errors.size(), errors.size());
        for (qsizetype i = 0; i < errors.size(); ++i)
            QVERIFY2(std::abs(a.errors[i] - errors[i]) < 1e-9, qPrintable(QString::number(i)));
        QCOMPARE(a.missed, missed);
    }

    // The record's intervals against the true ones, in order, and over runs of twenty.
    void record_errors_data() {
        QTest::addColumn<double>("apart");
        QTest::addColumn<QList<double>>("errorsMs");
        QTest::addColumn<int>("passagesEach");
        QTest::addColumn<QList<double>>("meansMs");
        QTest::addColumn<int>("missed");
        QTest::newRow("a few") << 1.25 << QList<double>{3, -3, 10} << 1 << QList<double>{} << 0;
        QTest::newRow("twenty") << 0.3 << repeated(-2, 20) << 1 << QList<double>{-2} << 0;
        QTest::newRow("forty-one: two runs of twenty")
            << 0.75 << repeated(10, 20) + QList<double>{-10, 10} + repeated(0, 19) << 1
            << QList<double>{10, 0} << 0;
        QTest::newRow("passages missed") << 9.9 << QList<double>{4, 0} << 2 << QList<double>{} << 2;
    }
    void record_errors() {
        QFETCH(double, apart);
        QFETCH(QList<double>, errorsMs);
        QFETCH(int, passagesEach);
        QFETCH(QList<double>, meansMs);
        QFETCH(int, missed);
        const RecordRun run = recordRun(apart, errorsMs, passagesEach);
        const BenchFigures::Record r = BenchFigures::record(apart, run.readouts, run.csv);
        QCOMPARE(r.problem, QString());
        QCOMPARE(r.errors.size(), errorsMs.size());
        for (qsizetype i = 0; i < errorsMs.size(); ++i)
            QVERIFY2(std::abs(r.errors[i] * 1000 - errorsMs[i]) < 1e-6,
                     qPrintable(QString::number(i)));
        QCOMPARE(r.meanErrors.size(), meansMs.size());
        for (qsizetype i = 0; i < meansMs.size(); ++i)
            QVERIFY2(std::abs(r.meanErrors[i] * 1000 - meansMs[i]) < 1e-6,
                     qPrintable(QString::number(i)));
        QCOMPARE(r.missed, missed);
    }

    void record_with_nothing_to_compare() {
        const RecordRun run = recordRun(1.25, {0, 0, 0});
        QCOMPARE(BenchFigures::record(1.25, run.readouts, {}).problem,
                 QStringLiteral("no record file"));
        QCOMPARE(BenchFigures::record(1.25, run.readouts.mid(1), run.csv).problem,
                 QStringLiteral("the record has 3 intervals, the readouts 2"));
    }

    // Every interval within 15 ms, and every mean of twenty within 3 ms.
    void record_goal_met_data() {
        QTest::addColumn<QList<double>>("errorsMs");
        QTest::addColumn<int>("passagesEach");
        QTest::addColumn<bool>("met");
        QTest::newRow("all close") << repeated(2, 20) + repeated(-10, 1) << 1 << true;
        QTest::newRow("15 ms is inside") << repeated(0, 19) + QList<double>{15} << 1 << true;
        QTest::newRow("16 ms is not") << repeated(0, 19) + QList<double>{-16} << 1 << false;
        QTest::newRow("a mean of 4 ms") << repeated(4, 20) << 1 << false;
        QTest::newRow("no run of twenty") << repeated(0, 19) << 1 << false;
        QTest::newRow("a passage missed") << repeated(0, 20) << 2 << false;
    }
    void record_goal_met() {
        QFETCH(QList<double>, errorsMs);
        QFETCH(int, passagesEach);
        QFETCH(bool, met);
        const RecordRun run = recordRun(0.75, errorsMs, passagesEach);
        BenchFigures figures;
        figures.records.append(BenchFigures::record(0.75, run.readouts, run.csv));
        const QStringList rows = figures.table().split('\n').filter(QStringLiteral("Record,"));
        QCOMPARE(rows.size(), 1);
        QVERIFY2(
            rows[0].trimmed().endsWith(met ? QStringLiteral("| yes |") : QStringLiteral("| no  |")),
            qPrintable(rows[0]));
    }

    // The count is compared with the whole tenths the clock has passed, so a
    // count read late in a tenth is not taken for a lost one.
    void drift_is_counted_in_whole_tenths_data() {
        QTest::addColumn<QByteArray>("printed");
        QTest::addColumn<int>("tenthsOff");
        QTest::addColumn<int>("ticksOff");
        QTest::newRow("all counted") << QByteArray("T 610 610 61000400000") << 0 << 0;
        QTest::newRow("late in the tenth") << QByteArray("T 610 610 61099999999") << 0 << 0;
        QTest::newRow("a tick dropped") << QByteArray("T 610 609 61050000000") << 0 << -1;
        QTest::newRow("counted ahead") << QByteArray("T 611 611 61000000000") << 1 << 1;
    }

    void drift_is_counted_in_whole_tenths() {
        QFETCH(QByteArray, printed);
        QFETCH(int, tenthsOff);
        QFETCH(int, ticksOff);
        const auto d = BenchFigures::drift({"startup noise", printed});
        QVERIFY(d);
        QCOMPARE(d->off(d->tenths), tenthsOff);
        QCOMPARE(d->off(d->ticks), ticksOff);
        QVERIFY(!BenchFigures::drift({"C 0.01 20000"}));
    }

    // A wake-up is a context switch, whether the thread went to sleep or was
    // put off; both counts must be there, or there is no figure.
    void context_switches_are_both_kinds_added_data() {
        QTest::addColumn<QByteArray>("status");
        QTest::addColumn<qint64>("switches"); // -1: none
        QTest::newRow("as Linux lists them")
            << QByteArray("Name:\tbench_subject\nThreads:\t3\n"
                          "voluntary_ctxt_switches:\t6120\nnonvoluntary_ctxt_switches:\t35\n")
            << qint64(6155);
        QTest::newRow("no trailing line break")
            << QByteArray("nonvoluntary_ctxt_switches:\t2\nvoluntary_ctxt_switches:\t40")
            << qint64(42);
        QTest::newRow("involuntary missing")
            << QByteArray("voluntary_ctxt_switches:\t6120\n") << qint64(-1);
        QTest::newRow("a count that is no number")
            << QByteArray("voluntary_ctxt_switches:\tmany\nnonvoluntary_ctxt_switches:\t1\n")
            << qint64(-1);
        QTest::newRow("empty") << QByteArray() << qint64(-1);
    }

    void context_switches_are_both_kinds_added() {
        QFETCH(QByteArray, status);
        QFETCH(qint64, switches);
        QCOMPARE(BenchFigures::contextSwitches(status).value_or(-1), switches);
    }

    // The wake-ups stand beside the bare program's with the CPU ratio; the
    // goal needs both: few enough wake-ups and less CPU than before.
    void wakeup_row_compares_with_the_bare_program_data() {
        QTest::addColumn<QByteArray>("tolvane");
        QTest::addColumn<QByteArray>("bare");
        QTest::addColumn<QString>("figure");
        QTest::addColumn<QString>("met");
        QTest::newRow("both goals met")
            << QByteArray("C 0.0120 29000 210.4") << QByteArray("C 0.0060 20000 101.0")
            << "Tolvane 210/s, bare Qt 101/s, ratio 2.08 ×; CPU ratio 2.00 ×"
            << "yes";
        QTest::newRow("three wake-ups a sample")
            << QByteArray("C 0.0150 29000 310.0") << QByteArray("C 0.0060 20000 100.0")
            << "Tolvane 310/s, bare Qt 100/s, ratio 3.10 ×; CPU ratio 2.50 ×"
            << "no";
        QTest::newRow("few wake-ups, CPU as before")
            << QByteArray("C 0.0156 29000 200.0") << QByteArray("C 0.0060 20000 100.0")
            << "Tolvane 200/s, bare Qt 100/s, ratio 2.00 ×; CPU ratio 2.60 ×"
            << "no";
        QTest::newRow("a probe without /proc")
            << QByteArray("C 0.0120 29000") << QByteArray("C 0.0060 20000 100.0")
            << "not measured: no context switches in /proc"
            << "no";
    }

    void wakeup_row_compares_with_the_bare_program() {
        QFETCH(QByteArray, tolvane);
        QFETCH(QByteArray, bare);
        QFETCH(QString, figure);
        QFETCH(QString, met);
        BenchFigures figures;
        figures.costTolvane = BenchFigures::cost({tolvane});
        figures.costBare = BenchFigures::cost({bare});
        const QStringList rows = figures.table().split(QLatin1Char('\n'));
        const auto row = std::find_if(rows.begin(), rows.end(), [](const QString& r) {
            return r.startsWith(QStringLiteral("| Wake-ups per second while measuring "));
        });
        QVERIFY(row != rows.end());
        const QStringList cells = row->split(QLatin1Char('|'));
        QCOMPARE(cells.value(2).trimmed(), figure);
        QCOMPARE(cells.value(4).trimmed(), met);
    }

    // 30 s: the named port probed once a second is 90 bytes; the others, with
    // their rests, far fewer.
    void search_row_data() {
        QTest::addColumn<QByteArray>("search");
        QTest::addColumn<qint64>("namedBytes");
        QTest::addColumn<QString>("met");
        QTest::newRow("once a second, cheaper")
            << QByteArray("C 0.0100 29000 150 180") << 90ll << "yes";
        QTest::newRow("twice a second") << QByteArray("C 0.0100 29000 150 180") << 180ll << "no";
        QTest::newRow("dearer than measuring")
            << QByteArray("C 0.0200 29000 150 180") << 90ll << "no";
        QTest::newRow("its threads wake more than measuring's")
            << QByteArray("C 0.0100 29000 150 400") << 90ll << "no";
    }
    void search_row() {
        QFETCH(QByteArray, search);
        QFETCH(qint64, namedBytes);
        QFETCH(QString, met);
        BenchFigures figures;
        figures.costTolvane = BenchFigures::cost({"C 0.0120 29000 210 320"});
        figures.searchNoBox = BenchFigures::search({search}, namedBytes, {15, 15, 15, 12}, 30);
        const QString table = figures.table();
        const qsizetype at = table.indexOf(QStringLiteral("| Searching for the box"));
        QVERIFY(at >= 0);
        QCOMPARE(table.mid(at)
                     .section(QLatin1Char('\n'), 0, 0)
                     .section(QLatin1Char('|'), 4, 4)
                     .trimmed(),
                 met);
    }
};

QTEST_MAIN(TestBenchFigures)
#include "tst_BenchFigures.moc"

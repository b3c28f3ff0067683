#include "bench/BenchFigures.h"

#include <QTest>

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
};

QTEST_MAIN(TestBenchFigures)
#include "tst_BenchFigures.moc"

#include "kiroku/GraphScale.h"

#include <QTest>

// The graph's axes: round steps around the values, never narrower than asked.
class TestGraphScale : public QObject {
    Q_OBJECT
private slots:
    void axes_data() {
        QTest::addColumn<double>("least");
        QTest::addColumn<double>("most");
        QTest::addColumn<double>("narrowest");
        QTest::addColumn<int>("mostSteps");
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        QTest::addColumn<double>("step");
        QTest::addColumn<int>("decimals");
        QTest::newRow("thousandths of scatter: the narrowest span")
            << 1.243 << 1.257 << 0.05 << 6 << 1.22 << 1.28 << 0.01 << 2;
        QTest::newRow("one interval alone")
            << 1.25 << 1.25 << 0.05 << 6 << 1.22 << 1.28 << 0.01 << 2;
        QTest::newRow("a missed passage: twice as long")
            << 1.24 << 2.5 << 0.05 << 6 << 1.0 << 2.5 << 0.5 << 1;
        QTest::newRow("the first ten passages")
            << 1.0 << 10.0 << 0.0 << 10 << 1.0 << 10.0 << 1.0 << 0;
        QTest::newRow("47 passages") << 1.0 << 47.0 << 0.0 << 10 << 0.0 << 50.0 << 5.0 << 0;
        QTest::newRow("one value, no least span")
            << 3.0 << 3.0 << 0.0 << 10 << 2.5 << 3.5 << 0.1 << 1;
    }
    void axes() {
        QFETCH(double, least);
        QFETCH(double, most);
        QFETCH(double, narrowest);
        QFETCH(int, mostSteps);
        const GraphScale s = GraphScale::around(least, most, narrowest, mostSteps);
        QTEST(s.low, "low");
        QTEST(s.high, "high");
        QTEST(s.step, "step");
        QTEST(s.decimals(), "decimals");
    }
};

QTEST_MAIN(TestGraphScale)
#include "tst_GraphScale.moc"

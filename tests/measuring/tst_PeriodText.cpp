#include "measuring/PeriodText.h"

#include <QTest>

class TestPeriodText : public QObject {
    Q_OBJECT
private slots:
    void shows_tenths_as_seconds_data() {
        QTest::addColumn<int>("tenths");
        QTest::addColumn<QString>("text");
        QTest::newRow("1") << 1 << QStringLiteral("0.1秒");
        QTest::newRow("7") << 7 << QStringLiteral("0.7秒");
        QTest::newRow("9") << 9 << QStringLiteral("0.9秒");
        QTest::newRow("10: whole seconds have no point") << 10 << QStringLiteral(" 1秒");
        QTest::newRow("15") << 15 << QStringLiteral(" 1.5秒");
        QTest::newRow("20") << 20 << QStringLiteral(" 2秒");
        QTest::newRow("101") << 101 << QStringLiteral(" 10.1秒");
        QTest::newRow("123") << 123 << QStringLiteral(" 12.3秒");
        QTest::newRow("600") << 600 << QStringLiteral(" 60秒");
        QTest::newRow("cap") << 60000 << QStringLiteral(" 6000秒");
    }
    void shows_tenths_as_seconds() {
        QFETCH(int, tenths);
        QFETCH(QString, text);
        QCOMPARE(PeriodText(tenths), text);
        QVERIFY(isPeriodText(text));
    }
};

QTEST_APPLESS_MAIN(TestPeriodText)
#include "tst_PeriodText.moc"

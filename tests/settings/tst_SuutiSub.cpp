#include "settings/SuutiSub.h"

#include <QTest>

using Result = std::optional<std::int16_t>;
Q_DECLARE_METATYPE(Result)

namespace QTest {
template <> char* toString(const Result& r) {
    return qstrdup(r ? QByteArray::number(*r).constData() : "failure");
}
} // namespace QTest

namespace {
const Result fails = std::nullopt;
QByteArray repeated(char c, qsizetype n) {
    return QByteArray(n, c);
}
} // namespace

class TestSuutiSub : public QObject {
    Q_OBJECT
private slots:
    void leading_number_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<Result>("expected");
        // The walk collects digits and minus signs and stops at anything else.
        QTest::newRow("plain") << QByteArray("12") << Result(12);
        QTest::newRow("letters after") << QByteArray("12abc") << Result(12);
        QTest::newRow("decimal point stops") << QByteArray("7.9") << Result(7);
        QTest::newRow("space after") << QByteArray("12 34") << Result(12);
        QTest::newRow("leading space") << QByteArray(" 12") << Result(0);
        QTest::newRow("leading tab") << QByteArray("\t12") << Result(0);
        QTest::newRow("plus sign") << QByteArray("+5") << Result(0);
        QTest::newRow("full-width digits") << QByteArray("１２") << Result(0);
        QTest::newRow("NUL after") << QByteArray("5\0"
                                                 "6",
                                                 3)
                                   << Result(5);
        QTest::newRow("empty") << QByteArray() << Result(0);
        // Only a first minus sign belongs to the number.
        QTest::newRow("negative") << QByteArray("-3") << Result(-3);
        QTest::newRow("double minus") << QByteArray("--5") << Result(0);
        QTest::newRow("lone minus") << QByteArray("-") << Result(0);
        QTest::newRow("minus inside") << QByteArray("12-3") << Result(12);
        QTest::newRow("minus after") << QByteArray("-5-3") << Result(-5);
        QTest::newRow("minus zero") << QByteArray("-0") << Result(0);
        QTest::newRow("leading zeros") << repeated('0', 40) + "7" << Result(7);
        QTest::newRow("negative leading zeros") << "-" + repeated('0', 40) + "1" << Result(-1);
        // 16-bit limits.
        QTest::newRow("largest") << QByteArray("32767") << Result(32767);
        QTest::newRow("one above") << QByteArray("32768") << fails;
        QTest::newRow("smallest") << QByteArray("-32768") << Result(-32768);
        QTest::newRow("one below") << QByteArray("-32769") << fails;
        QTest::newRow("99999") << QByteArray("99999") << fails;
        QTest::newRow("too big then minus") << QByteArray("99999-1") << fails;
        QTest::newRow("30 digits") << "1" + repeated('0', 29) << fails;
        QTest::newRow("30 digits negative") << "-1" + repeated('0', 29) << fails;
    }
    void leading_number() {
        QFETCH(QByteArray, text);
        QFETCH(Result, expected);
        QCOMPARE(SuutiSub(text), expected);
    }

    // The position is a 16-bit count: a text may be 32,767 characters long,
    // and the walk may not step past its last position.
    void position_limits_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<Result>("expected");
        const qsizetype last = 32767;
        QTest::newRow("zeros, one short of the limit") << repeated('0', last - 1) << Result(0);
        QTest::newRow("digits, one short, ends in 42")
            << repeated('0', last - 3) + "42" << Result(42);
        QTest::newRow("zeros, walk reaches the limit") << repeated('0', last) << fails;
        QTest::newRow("minus signs, walk reaches the limit") << repeated('-', last) << fails;
        QTest::newRow("minus signs, one short") << repeated('-', last - 1) << Result(0);
        QTest::newRow("walk stops on the last character")
            << repeated('0', last - 1) + "x" << Result(0);
        QTest::newRow("walk stops early at the limit")
            << "5" + repeated('x', last - 1) << Result(5);
        QTest::newRow("space first, at the limit") << " " + repeated('1', last - 1) << Result(0);
        QTest::newRow("one past the limit") << "5" + repeated('x', last) << fails;
        QTest::newRow("space first, one past the limit") << " " + repeated('x', last) << fails;
        QTest::newRow("zeros, one past the limit") << repeated('0', last + 1) << fails;
    }
    void position_limits() {
        QFETCH(QByteArray, text);
        QFETCH(Result, expected);
        QCOMPARE(SuutiSub(text), expected);
    }
};

QTEST_APPLESS_MAIN(TestSuutiSub)
#include "tst_SuutiSub.moc"

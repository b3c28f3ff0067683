#include "settings/LineSplitter.h"

#include <QTest>

namespace {

// Splits `bytes` handed over `chunk` bytes at a time, keeping `kept` bytes a line.
QByteArrayList split(const QByteArray& bytes, qsizetype chunk, qsizetype kept = 100) {
    QByteArrayList lines;
    LineSplitter splitter(kept, [&](QByteArrayView line) {
        lines << line.toByteArray();
        return true;
    });
    for (qsizetype at = 0; at < bytes.size(); at += chunk)
        splitter.feed(QByteArrayView(bytes).sliced(at, std::min(chunk, bytes.size() - at)));
    splitter.finish();
    return lines;
}

} // namespace

class TestLineSplitter : public QObject {
    Q_OBJECT
private slots:
    void lines_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArrayList>("lines");
        using L = QByteArrayList;
        QTest::newRow("empty file has no line") << QByteArray() << L{};
        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << L{"a", "b"};
        QTest::newRow("CR alone") << QByteArray("a\rb\r") << L{"a", "b"};
        QTest::newRow("LF alone") << QByteArray("a\nb\n") << L{"a", "b"};
        QTest::newRow("last line without end") << QByteArray("a\r\nb") << L{"a", "b"};
        QTest::newRow("one line end is one empty line") << QByteArray("\r\n") << L{""};
        QTest::newRow("CR CR is two ends") << QByteArray("a\r\rb") << L{"a", "", "b"};
        QTest::newRow("LF CR is two ends") << QByteArray("a\n\rb") << L{"a", "", "b"};
        QTest::newRow("CR LF CR LF") << QByteArray("a\r\n\r\nb") << L{"a", "", "b"};
        QTest::newRow("leading spaces go") << QByteArray("   a b \r\n") << L{"a b "};
        QTest::newRow("spaces-only line") << QByteArray("    \r\nx") << L{"", "x"};
        QTest::newRow("only spaces, no end") << QByteArray("   ") << L{""};
        QTest::newRow("tab is kept") << QByteArray("\ta") << L{"\ta"};
        QTest::newRow("ideographic space is kept") << QByteArray("\xE3\x80\x80"
                                                                 "a")
                                                   << L{"\xE3\x80\x80"
                                                        "a"};
        QTest::newRow("NUL is content") << QByteArray(" \0a\n", 4) << L{QByteArray("\0a", 2)};
        QTest::newRow("long line is cut") << QByteArray("  abcdefghij\nk") << L{"abcdefgh", "k"};
        QTest::newRow("byte-order mark dropped")
            << QByteArray("\xEF\xBB\xBF  a\r\nb") << L{"a", "b"};
        QTest::newRow("mark alone") << QByteArray("\xEF\xBB\xBF") << L{};
        QTest::newRow("mark only at the start") << QByteArray("a\n\xEF\xBB\xBF"
                                                              "b")
                                                << L{"a", "\xEF\xBB\xBF"
                                                          "b"};
        QTest::newRow("half a mark is content") << QByteArray("\xEF\xBB"
                                                              "a")
                                                << L{"\xEF\xBB"
                                                     "a"};
        QTest::newRow("half a mark ends the file") << QByteArray("\xEF\xBB") << L{"\xEF\xBB"};
        QTest::newRow("half a mark then line end") << QByteArray("\xEF\r\n") << L{"\xEF"};
        QTest::newRow("mark then line end") << QByteArray("\xEF\xBB\xBF\r\nx") << L{"", "x"};
    }
    // Every way of cutting the file into reads gives the same lines.
    void lines() {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArrayList, lines);
        for (qsizetype chunk = 1; chunk <= std::max<qsizetype>(bytes.size(), 1); ++chunk)
            QVERIFY2(split(bytes, chunk, 8) == lines,
                     qPrintable(QStringLiteral("chunk %1").arg(chunk)));
    }

    void a_very_long_line_keeps_only_its_start() {
        const QByteArray line = QByteArray(3'000'000, ' ') + "Mozi=4" + QByteArray(5'000'000, 'x');
        const QByteArrayList lines = split(line + "\r\nnext", 64 * 1024, 10);
        QCOMPARE(lines, QByteArrayList({"Mozi=4xxxx", "next"}));
    }

    void stopping_ends_the_splitting() {
        QByteArrayList seen;
        LineSplitter splitter(100, [&](QByteArrayView line) {
            seen << line.toByteArray();
            return line != "stop";
        });
        QVERIFY(!splitter.feed("a\nstop\nb\n"));
        QVERIFY(!splitter.feed("c\n"));
        QVERIFY(!splitter.finish());
        QCOMPARE(seen, QByteArrayList({"a", "stop"}));
    }
};

QTEST_APPLESS_MAIN(TestLineSplitter)
#include "tst_LineSplitter.moc"

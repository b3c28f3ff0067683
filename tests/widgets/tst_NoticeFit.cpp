#include "link/PerixTexts.h"
#include "record/RecordTexts.h"
#include "widgets/DisplayFont.h"
#include "widgets/NoticeFit.h"

#include <QFontMetricsF>
#include <QTest>

// Whether the text fits the label at `points`, broken at its own line ends only.
static bool fits(const QString& text, int points, QSize label) {
    const QSizeF taken = QFontMetricsF(displayFont(points)).boundingRect(QRectF(), 0, text).size();
    return taken.width() <= label.width() && taken.height() <= label.height();
}

class TestNoticeFit : public QObject {
    Q_OBJECT
private slots:
    // The designed label, a sliver, and a 1920 x 1080 projector at scale 2.
    void a_notice_is_shown_whole_a_period_as_designed_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QSize>("label");
        QTest::addColumn<int>("designed");
        QTest::addColumn<int>("atLeast"); // readable; the designed size for a period
        const QString notConnected = PerixTexts::notConnectedNotice();
        QTest::newRow("not connected") << notConnected << QSize(322, 132) << 64 << 14;
        QTest::newRow("not connected, sliver") << notConnected << QSize(4, 4) << 64 << 1;
        QTest::newRow("start-up") << PerixTexts::startupNotice() << QSize(322, 132) << 64 << 8;
        QTest::newRow("start-up, projector")
            << PerixTexts::startupNotice() << QSize(958, 491) << 191 << 25;
        QTest::newRow("record") << RecordTexts::notStarted() << QSize(322, 132) << 64 << 12;
        QTest::newRow("period, too big") << QStringLiteral(" 6000秒") << QSize(100, 10) << 64 << 64;
    }
    void a_notice_is_shown_whole_a_period_as_designed() {
        QFETCH(QString, text);
        QFETCH(QSize, label);
        QFETCH(int, designed);
        QFETCH(int, atLeast);
        const int points = noticePoints(text, displayFont(designed), label, designed);
        QVERIFY2(points >= atLeast && points <= designed, qPrintable(QString::number(points)));
        if (atLeast == designed)
            return;
        QVERIFY(points == 1 || fits(text, points, label));
        QVERIFY(points == designed || !fits(text, points + 1, label)); // the largest
    }
};

QTEST_MAIN(TestNoticeFit)
#include "tst_NoticeFit.moc"

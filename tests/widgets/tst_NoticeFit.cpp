#include "link/PerixTexts.h"
#include "record/RecordTexts.h"
#include "settings/SuutiTexts.h"
#include "widgets/DisplayFont.h"
#include "widgets/NoticeFit.h"

#include <QFontMetricsF>
#include <QTest>

namespace {

// The room the text takes at `points`, line by line as it is broken, with
// no other breaks.
QSizeF room(const QString& text, int points) {
    const QFontMetricsF metrics(displayFont(points));
    const QStringList lines = text.split(QLatin1Char('\n'));
    qreal widest = 0;
    for (const QString& line : lines)
        widest = qMax(widest, metrics.horizontalAdvance(line));
    return {widest, (lines.size() - 1) * metrics.lineSpacing() + metrics.height()};
}

bool fits(const QString& text, int points, QSize label) {
    const QSizeF taken = room(text, points);
    return taken.width() <= label.width() && taken.height() <= label.height();
}

} // namespace

class TestNoticeFit : public QObject {
    Q_OBJECT
private slots:
    // The labels: the designed window, a wide and low one, a window
    // maximised on a 1920 x 1080 projector, and the same at a scale factor of
    // 2, where Qt lays the window out at half the pixels.
    void a_notice_is_shown_whole_a_period_as_designed_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QSize>("label");
        QTest::addColumn<int>("designed");
        QTest::addColumn<bool>("period");
        QTest::addColumn<int>("atLeast");
        const QSize designedLabel(322, 132);
        const QSize projector(1918, 1011);
        const QSize projectorAt2(958, 491);
        const QString notConnected = PerixTexts::notConnectedNotice();
        const QString startup = PerixTexts::startupNotice();
        QTest::newRow("not connected, designed")
            << notConnected << designedLabel << 64 << false << 14;
        QTest::newRow("not connected, projector")
            << notConnected << projector << 383 << false << 100;
        QTest::newRow("not connected, wide and low")
            << notConnected << QSize(598, 30) << 119 << false << 10;
        QTest::newRow("start-up, designed") << startup << designedLabel << 64 << false << 8;
        QTest::newRow("start-up, projector") << startup << projector << 383 << false << 50;
        QTest::newRow("start-up, scale 2") << startup << projectorAt2 << 191 << false << 25;
        QTest::newRow("record, designed")
            << RecordTexts::notStarted() << designedLabel << 64 << false << 12;
        QTest::newRow("Tv.txt missing, one long line")
            << SuutiTexts::fileMissing() << designedLabel << 64 << false << 4;
        QTest::newRow("a short one fits as designed")
            << QStringLiteral("初期化") << designedLabel << 64 << false << 64;
        QTest::newRow("a sliver: 1 pt at the least")
            << notConnected << QSize(4, 4) << 64 << false << 1;
        QTest::newRow("period, designed")
            << QStringLiteral("0.7秒") << designedLabel << 64 << true << 64;
        QTest::newRow("period, projector")
            << QStringLiteral(" 1.5秒") << projector << 383 << true << 383;
        QTest::newRow("period too big stays")
            << QStringLiteral(" 6000秒") << QSize(100, 10) << 64 << true << 64;
        QTest::newRow("nothing shown") << QString() << designedLabel << 64 << true << 64;
    }
    void a_notice_is_shown_whole_a_period_as_designed() {
        QFETCH(QString, text);
        QFETCH(QSize, label);
        QFETCH(int, designed);
        QFETCH(bool, period);
        QFETCH(int, atLeast);
        const int points = noticePoints(text, displayFont(designed), label, designed);
        QVERIFY2(points >= atLeast && points <= designed, qPrintable(QString::number(points)));
        if (period)
            return;
        if (points > 1)
            QVERIFY(fits(text, points, label));
        if (points < designed)
            QVERIFY(!fits(text, points + 1, label));
    }
};

QTEST_MAIN(TestNoticeFit)
#include "tst_NoticeFit.moc"

#include "app/LabelSizing.h"
#include "app/MainTexts.h"
#include "link/PerixTexts.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenuBar>
#include <QRawFont>
#include <QTest>

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void sizing_rule_numbers_data() {
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QSize>("label");
        QTest::addColumn<int>("points");
        QTest::newRow("designed") << QSize(324, 136) << QSize(322, 132) << 64;
        QTest::newRow("wide") << QSize(600, 136) << QSize(598, 132) << 119;
        QTest::newRow("narrow keeps a 1 pt font") << QSize(6, 100) << QSize(4, 96) << 1;
        QTest::newRow("sliver never goes negative") << QSize(1, 2) << QSize(0, 0) << 1;
    }
    void sizing_rule_numbers() {
        QFETCH(QSize, client);
        QFETCH(QSize, label);
        QFETCH(int, points);
        const LabelSizing s = LabelSizing::forClient(client);
        QCOMPARE(s.label, label);
        QCOMPARE(s.fontPoints, points);
    }

    void resizing_follows_the_client_area_above_20_pixels() {
        WindowFixture f;
        f.startWithBox();
        QCOMPARE(f.window->Label1->size(), QSize(322, 132));
        // PerixInit's 14 pt notice font stays until the window next sizes the label.
        QCOMPARE(f.window->Label1->font().pointSize(), 14);

        f.window->clientArea()->resize(600, 300);
        f.window->Form_Resize();
        QCOMPARE(f.window->Label1->size(), QSize(598, 296));
        QCOMPARE(f.window->Label1->font().pointSize(), 119);

        for (int height : {20, 0}) { // 20 px high, and minimised
            f.window->clientArea()->resize(200, height);
            f.window->Form_Resize();
            QCOMPARE(f.window->Label1->size(), QSize(598, 296));
            QCOMPARE(f.window->Label1->font().pointSize(), 119);
        }

        f.window->clientArea()->resize(1, 21);
        f.window->Form_Resize();
        QCOMPARE(f.window->Label1->size(), QSize(0, 17));
        QCOMPARE(f.window->Label1->font().pointSize(), 1);
    }

    void showing_the_window_gives_the_notice_its_display_size() {
        WindowFixture f;
        f.startUp(); // no box: the not-connected notice stays
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        QCOMPARE(f.display(), PerixTexts::notConnectedNotice());
        QCOMPARE(f.window->clientArea()->size(), QSize(324, 136));
        QCOMPARE(f.window->Label1->font().pointSize(), 64);
    }

    void window_and_menus_as_designed() {
        WindowFixture f;
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Tolvane"));
        QVERIFY(!f.window->windowIcon().isNull());
        QCOMPARE(f.window->windowIcon().availableSizes().value(0), QSize(32, 32));
        QStringList captions;
        for (QAction* a : f.window->menuBar()->actions())
            captions << a->text();
        QCOMPARE(captions,
                 QStringList({QStringLiteral("おわる"), QStringLiteral("かんどせってい"),
                              QStringLiteral("いろのせってい"), QStringLiteral("せつめい")}));
        QVERIFY(f.window->menuBar()->actions().value(0)->menu() == nullptr);
    }

    void display_face_has_the_japanese_glyphs() {
        WindowFixture f;
        f.startWithBox();
        f.window->Form_Resize();
        const QRawFont raw = QRawFont::fromFont(f.window->Label1->font());
        QVERIFY2(raw.isValid(), qPrintable(raw.familyName()));
        for (const QString& text : {QStringLiteral("0.7秒"), PerixTexts::notConnectedNotice(),
                                    PerixTexts::startupNotice().remove(QLatin1Char('\n'))}) {
            for (const char32_t c : text.toUcs4())
                QVERIFY2(raw.supportsCharacter(c),
                         qPrintable(raw.familyName() + QStringLiteral(" lacks ") +
                                    QString::fromUcs4(&c, 1)));
        }
        // The set-up installs IPAGothic as the stand-in for ＭＳ ゴシック.
        const QStringList gothic{QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                                 QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック")};
        QVERIFY2(gothic.contains(QFontInfo(f.window->font()).family()),
                 qPrintable(QFontInfo(f.window->font()).family()));
    }

    void start_up_order_and_result() {
        WindowFixture f;
        f.v.TenthCount = 99;
        f.startUp();
        QCOMPARE(f.v.SampleCommand, QByteArray(1, char(242)));
        QCOMPARE(f.v.TenthCount, 0);
        QVERIFY(f.v.NotConnected);
        QCOMPARE(f.display(), PerixTexts::notConnectedNotice());
        QVERIFY(f.line->Timer1.isActive());
        QCOMPARE(f.line->Timer1.interval(), 10);
        QVERIFY(f.window->Timer2.isActive());
        QCOMPARE(f.window->Timer2.interval(), 100);
        QVERIFY(!f.line->Timer3.isActive());
        QCOMPARE(f.v.ShownTextColor, 0x000000);
        QCOMPARE(f.v.ShownBackColor, 0xC0C0C0);
        const QPalette p = f.window->Label1->palette();
        QCOMPARE(p.color(QPalette::WindowText), QColor(0, 0, 0));
        QCOMPARE(p.color(QPalette::Window), QColor(192, 192, 192));
    }

    void start_up_with_the_box_keeps_the_start_up_notice() {
        WindowFixture f;
        f.startWithBox();
        QVERIFY(!f.v.NotConnected);
        QCOMPARE(f.display(), PerixTexts::startupNotice());
    }

    void quit_command_asks_and_ends_only_on_yes() {
        WindowFixture f;
        f.startWithBox();
        f.line->Timer1.start();
        f.window->Timer2.start();
        f.boxes.nextAnswer = false;
        f.window->MenuOwaru_Click();
        QCOMPARE(f.boxes.texts, QStringList(QStringLiteral("本当に終了しますか？")));
        QCOMPARE(f.boxes.titles, QStringList(QStringLiteral("Tolvane")));
        QCOMPARE(f.endCalls, 0);
        QVERIFY(f.line->Timer1.isActive());
        QVERIFY(f.window->Timer2.isActive());

        f.boxes.nextAnswer = true;
        f.window->MenuOwaru_Click();
        QCOMPARE(f.endCalls, 1);
    }

    void close_box_stops_sampling_while_it_asks() {
        WindowFixture f;
        f.startWithBox();
        f.window->show();
        f.line->Timer1.start();

        bool timer1WhileAsking = true;
        f.boxes.whileAsking = [&] { timer1WhileAsking = f.line->Timer1.isActive(); };
        f.boxes.nextAnswer = false;
        QCloseEvent no;
        f.window->Form_QueryUnload(&no);
        QVERIFY(!timer1WhileAsking);
        QVERIFY(!no.isAccepted());
        QVERIFY(f.window->isVisible());
        QVERIFY(f.line->Timer1.isActive());
        QCOMPARE(f.endCalls, 0);
        QCOMPARE(f.boxes.texts.value(0), QStringLiteral("本当に終了しますか？"));

        f.boxes.nextAnswer = true;
        QCloseEvent yes;
        f.window->Form_QueryUnload(&yes);
        QVERIFY(yes.isAccepted());
        QVERIFY(!f.window->isVisible());
        QCOMPARE(f.endCalls, 1);
    }

    void explanation_box_text() {
        WindowFixture f;
        f.window->MenuSetumei_Click();
        QCOMPARE(f.boxes.titles, QStringList(QStringLiteral("「Tolvane」の説明")));
        QCOMPARE(
            f.boxes.texts,
            QStringList(QStringLiteral(
                "MERAVO社製\u3000Zantor「Perix」用のソフトです。「Perix」が接続されていないと、"
                "プログラムが起動しません。\u3000光センサーを「ポート１」に接続してください。"
                "「ふりこの周期」を計るためのプログラムです。")));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_MainWindow.moc"

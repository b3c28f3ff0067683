#include "app/QtJapaneseTexts.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

// The message boxes' buttons must read Japanese on a machine without Qt's
// translations: this suite's qt.conf (in its resources) points Qt's
// translations folder at one that does not exist.
class TestQtJapaneseTexts : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
        QVERIFY2(folder.endsWith(QStringLiteral("no-translations-here")), qPrintable(folder));
        QVERIFY(!QFileInfo::exists(folder));
        // Before: Qt's English, so the cases below see the change.
        QCOMPARE(buttonText(QMessageBox::Yes), QStringLiteral("&Yes"));
        QVERIFY(installJapaneseQtTexts(*qApp));
    }

    void standard_buttons_read_japanese_data() {
        QTest::addColumn<QMessageBox::StandardButton>("button");
        QTest::addColumn<QString>("text");
        QTest::newRow("quit box: yes") << QMessageBox::Yes << QStringLiteral("はい(&Y)");
        QTest::newRow("quit box: no") << QMessageBox::No << QStringLiteral("いいえ(&N)");
    }
    void standard_buttons_read_japanese() {
        QFETCH(QMessageBox::StandardButton, button);
        QFETCH(QString, text);
        QCOMPARE(buttonText(button), text);
    }

private:
    static QString buttonText(QMessageBox::StandardButton button) {
        QMessageBox box(QMessageBox::NoIcon, QString(), QString(),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok);
        return box.button(button)->text();
    }
};

QTEST_MAIN(TestQtJapaneseTexts)
#include "tst_QtJapaneseTexts.moc"

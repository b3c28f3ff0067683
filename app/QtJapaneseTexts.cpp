#include "QtJapaneseTexts.h"

#include <QCoreApplication>
#include <QTranslator>

bool installJapaneseQtTexts(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral(":/translations/qtbase_ja.qm")))
        return QCoreApplication::installTranslator(translator);
    delete translator;
    return false;
}

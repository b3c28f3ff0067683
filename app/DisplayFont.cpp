#include "DisplayFont.h"

#include <QFontDatabase>
#include <QStringList>

namespace {

QStringList families() {
    QStringList list{QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                     QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック")};
    // Any other fixed-pitch face that has Japanese, as a last resort.
    const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
    for (const QString& family : japanese) {
        if (!list.contains(family) && QFontDatabase::isFixedPitch(family))
            list << family;
    }
    for (const QString& family : japanese) {
        if (!list.contains(family))
            list << family;
    }
    return list;
}

} // namespace

QFont displayFont(int points) {
    static const QStringList chain = families();
    QFont font;
    font.setFamilies(chain);
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(points);
    font.setWeight(QFont::Normal);
    return font;
}

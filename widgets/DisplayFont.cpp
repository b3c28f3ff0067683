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

QFont faceOnly() {
    static const QStringList chain = families();
    QFont font;
    font.setFamilies(chain);
    font.setStyleHint(QFont::TypeWriter);
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace

QFont displayFont(int points) {
    QFont font = faceOnly();
    font.setPointSize(points);
    return font;
}

QFont displayFont(double points) {
    QFont font = faceOnly();
    font.setPointSizeF(points);
    return font;
}

QFont boldDisplayFont(double points) {
    QFont font = displayFont(points);
    font.setBold(true);
    return font;
}

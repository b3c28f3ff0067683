#pragma once

#include <QString>

namespace ColorTexts {

inline QString caption() {
    return QStringLiteral("表示色の変更");
}
inline QString textColor() {
    return QStringLiteral("文字の色");
}
inline QString backColor() {
    return QStringLiteral("背景の色");
}
inline QString red() {
    return QStringLiteral("赤");
}
inline QString green() {
    return QStringLiteral("緑");
}
inline QString blue() {
    return QStringLiteral("青");
}
inline QString builtInColors() {
    return QStringLiteral("はじめの色");
}
// Full-width O, an ideographic space, full-width K.
inline QString ok() {
    return QStringLiteral("Ｏ　Ｋ");
}
inline QString cancel() {
    return QStringLiteral("キャンセル");
}
// Five lines, each ended by CR LF; the breaks fall inside words so that the
// lines fit the box.
inline QString instructions() {
    return QStringLiteral("「文字の色」または\r\n"
                          "「背景の色」をク\r\n"
                          "リックしてから、ス\r\n"
                          "クロールバーで色を\r\n"
                          "設定してください。\r\n");
}

} // namespace ColorTexts

#pragma once

#include <QString>

// The names of the series' columns and figures, the same in the きろく window
// and in its copied text.
namespace SeriesTexts {

inline QString number() {
    return QStringLiteral("番号");
}
inline QString interval() {
    return QStringLiteral("間隔");
}
inline QString shown() {
    return QStringLiteral("表示");
}
inline QString count() {
    return QStringLiteral("回数");
}
inline QString average() {
    return QStringLiteral("平均");
}
inline QString spread() {
    return QStringLiteral("ばらつき");
}
inline QString period() {
    return QStringLiteral("周期 T");
}
inline QString length() {
    return QStringLiteral("長さ L");
}
inline QString gravity() {
    return QStringLiteral("g");
}

inline QString seconds() {
    return QStringLiteral("秒");
}
inline QString metres() {
    return QStringLiteral("m");
}
inline QString acceleration() {
    return QStringLiteral("m/s²");
}

// A column's or a figure's name with its unit, for the copied text: "間隔（秒）".
inline QString withUnit(const QString& name, const QString& unit) {
    return name + QStringLiteral("（") + unit + QStringLiteral("）");
}

} // namespace SeriesTexts

#pragma once

#include <QString>
#include <array>

// The sensitivity dialog's own words. The spaces are part of the captions:
// they line the option numbers up in the fixed-pitch face.
namespace FSetteiTexts {

inline QString caption() {
    return QStringLiteral("Tolvaneのせってい");
}
inline QString heading() {
    return QStringLiteral("感度の設定");
}
inline QString headingNote() {
    return QStringLiteral("（測り取る感度の差）");
}
inline QString periodHeading() {
    return QStringLiteral("振り子の周期時間");
}
inline QString brightnessHeading() {
    return QStringLiteral("明るさ(0～255)");
}
inline QString ok() {
    return QStringLiteral("設\u3000定");
}
inline QString cancel() {
    return QStringLiteral("キャンセル");
}

inline std::array<QString, 5> options() {
    return {QStringLiteral("最高感度（10）"), QStringLiteral("高感度\u3000 (30)"),
            QStringLiteral("中間     (50)"), QStringLiteral("低感度   (80)"),
            QStringLiteral("最低感度(100)")};
}

} // namespace FSetteiTexts

#pragma once

#include <QString>

// The きろく window's own texts; the names of the figures and columns are in
// record/SeriesTexts.h, shared with the copied text.
namespace KirokuTexts {

inline QString title() {
    return QStringLiteral("きろく");
}
inline QString restart() {
    return QStringLiteral("はじめから");
}
inline QString copy() {
    return QStringLiteral("コピー");
}
inline QString whyTwice() {
    return QStringLiteral("周期 T = 2 × 平均：おもりは1往復で真ん中のビームを2回横切ります。");
}
inline QString lengthHint() {
    return QStringLiteral("L は支点からおもりの中心までの長さ。g = 4π²L/T²");
}
inline QString lengthExample() {
    return QStringLiteral("例 1.55");
}
// Where a figure cannot be worked out yet.
inline QString noFigure() {
    return QStringLiteral("―");
}
inline QString emptyGraph() {
    return QStringLiteral("ふりこがビームを2回横切ると、ここに点が出ます。");
}
inline QString passageAxis() {
    return QStringLiteral("回目");
}
inline QString averageLine(const QString& seconds) {
    return QStringLiteral("平均 %1 秒").arg(seconds);
}

} // namespace KirokuTexts

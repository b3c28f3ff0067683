#pragma once

#include <QString>

namespace MainTexts {

inline QString title() {
    return QStringLiteral("Tolvane");
}
// While the lesson's record is being written.
inline QString recordingTitle() {
    return QStringLiteral("Tolvane - 記録中");
}
inline QString quitQuestion() {
    return QStringLiteral("本当に終了しますか？");
}

inline QString menuOwaru() {
    return QStringLiteral("おわる");
}
inline QString menuSettei() {
    return QStringLiteral("かんどせってい");
}
inline QString menuColor() {
    return QStringLiteral("いろのせってい");
}
inline QString menuSetumei() {
    return QStringLiteral("せつめい");
}

inline QString explanationTitle() {
    return QStringLiteral("「Tolvane」の説明");
}
// Four pieces joined with nothing between them; the box wraps the text itself.
inline QString explanation() {
    return QStringLiteral("MERAVO社製　Zantor「Perix」用のソフトです。") +
           QStringLiteral("「Perix」が接続されていないと、プログラムが") +
           QStringLiteral("起動しません。　光センサーを「ポート１」に接続してください。") +
           QStringLiteral("「ふりこの周期」を計るためのプログラムです。");
}

} // namespace MainTexts

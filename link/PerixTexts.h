#pragma once

#include <QString>

namespace PerixTexts {

// The notice shown while the box is woken and probed.
inline QString startupNotice() {
    return QStringLiteral("「Perix」初期化中。\n"
                          "　「Perix」が接続されていないと、プログラムが\n"
                          "　起動しません。もし、プログラムが動かない場合に\n"
                          "　は、「Perix」の接続と、シリアルポートの設定を\n"
                          "　確認して下さい。\n"
                          "　　初期設定では接続シリアルポートは「１」になっ\n"
                          "　ています。");
}

inline QString notConnectedNotice() {
    return QStringLiteral("Perixが接続されていません!");
}

} // namespace PerixTexts

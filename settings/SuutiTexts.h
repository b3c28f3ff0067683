#pragma once

#include <QString>

namespace SuutiTexts {

// The customization file's name, looked for in the working directory.
inline QString fileName() {
    return QStringLiteral("Tv.txt");
}

inline QString fileMissing() {
    return QStringLiteral("カスタマイズファイル(Tv.txt) がありません。初期設定で起動します。");
}
inline QString reading() {
    return QStringLiteral("カスタマイズファイル(Tv.txt) 読み込み中");
}
inline QString finished() {
    return QStringLiteral("設定終了");
}

} // namespace SuutiTexts

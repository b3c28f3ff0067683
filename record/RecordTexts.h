#pragma once

#include <QString>

namespace RecordTexts {

// Shown at start-up, in place of the other notices, when "Kiroku=1" asks for
// a record that cannot be made; the first period replaces it. Its first words
// say the most, since the display's big type shows only them.
inline QString notStarted() {
    return QStringLiteral(
        "記録できません。記録ファイル(ドキュメントのTolvaneフォルダ) が作れません。"
        "記録なしで計測します。");
}

} // namespace RecordTexts

#pragma once

#include <QString>

namespace RecordTexts {

// Shown at start-up, in place of the other notices, when "Kiroku=1" asks for
// a record that cannot be made; the first period replaces it. In short lines,
// so that the display can show it whole in type that can still be read.
inline QString notStarted() {
    return QStringLiteral("記録できません。\n"
                          "記録ファイル(ドキュメントの\n"
                          "Tolvaneフォルダ)が作れません。\n"
                          "記録なしで計測します。");
}

// The box that says so, when the record cannot start or cannot go on: where
// it was to be written, and that measuring goes on.
inline QString cannotRecord(const QString& folder) {
    const QString where =
        folder.isEmpty() ? QStringLiteral("ドキュメントのTolvaneフォルダ") : folder;
    return QStringLiteral("記録できません。\n"
                          "次のフォルダに記録ファイルを書き込めません。\n\n") +
           where + QStringLiteral("\n\n計測は記録なしで続けます。");
}

} // namespace RecordTexts

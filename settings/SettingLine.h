#pragma once

#include "SuutiSub.h"
#include "core/ProgramValues.h"

#include <QByteArrayView>

// What one line of the customization file does to the settings.
enum class LineOutcome {
    Continue, // applied or ignored: go on with the next line
    Stop,     // a failed value: this setting is kept and the reading ends
};

// A line's first bytes decide all it does: the longest key, then one byte
// more than the longest value text that SuutiSub reads (a longer text fails
// whatever follows). Lines may be cut to this length before they are applied.
inline constexpr qsizetype SettingLineDecisiveLength = 7 + SuutiSubLongestText + 1;

// Applies one line, already stripped of its leading spaces. The keys "Mozi=",
// "Back=", "Port=", "Kando=" and "Kiroku=" match in any mix of ASCII upper and
// lower case at the very start; a line starting with "'" is a comment; anything
// else is ignored.
LineOutcome applySettingLine(QByteArrayView line, ProgramValues& v);

#include "SettingLine.h"

#include "core/ColorTable.h"

namespace {

char asciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

// Only ASCII letters change case: no other byte, whatever the encoding of
// the text around it, can turn into part of a key.
bool startsWithKey(QByteArrayView line, QByteArrayView key) {
    if (line.size() < key.size())
        return false;
    for (qsizetype i = 0; i < key.size(); ++i) {
        if (asciiUpper(line[i]) != key[i])
            return false;
    }
    return true;
}

LineOutcome setColor(ColorValue& color, QByteArrayView valueText) {
    const auto n = SuutiSub(valueText);
    if (!n)
        return LineOutcome::Stop;
    const auto entry = ColorTable::lookup(*n);
    if (!entry)
        return LineOutcome::Stop;
    color = *entry;
    return LineOutcome::Continue;
}

LineOutcome setPort(std::int16_t& port, QByteArrayView valueText) {
    const auto n = SuutiSub(valueText);
    if (!n)
        return LineOutcome::Stop;
    port = *n; // the link's start-up brings it into 1..4
    return LineOutcome::Continue;
}

LineOutcome setSensitivity(std::int16_t& sensitivity, QByteArrayView valueText) {
    const auto n = SuutiSub(valueText);
    if (!n)
        return LineOutcome::Stop;
    if (*n >= 1 && *n <= 254)
        sensitivity = *n;
    return LineOutcome::Continue;
}

// 1 turns the record on and 0 off; any other number is passed over, like a
// sensitivity out of range, and the reading goes on.
LineOutcome setRecord(bool& keepRecord, QByteArrayView valueText) {
    const auto n = SuutiSub(valueText);
    if (!n)
        return LineOutcome::Stop;
    if (*n == 0 || *n == 1)
        keepRecord = *n == 1;
    return LineOutcome::Continue;
}

} // namespace

LineOutcome applySettingLine(QByteArrayView line, ProgramValues& v) {
    // The value is the rest of the line as it stands: a space after "=" is
    // its first character.
    if (line.startsWith('\''))
        return LineOutcome::Continue;
    if (startsWithKey(line, "MOZI="))
        return setColor(v.TextColor, line.sliced(5));
    if (startsWithKey(line, "BACK="))
        return setColor(v.BackColor, line.sliced(5));
    if (startsWithKey(line, "PORT="))
        return setPort(v.PortNo, line.sliced(5));
    if (startsWithKey(line, "KANDO="))
        return setSensitivity(v.Sensitivity, line.sliced(6));
    if (startsWithKey(line, "KIROKU="))
        return setRecord(v.KeepRecord, line.sliced(7));
    return LineOutcome::Continue;
}

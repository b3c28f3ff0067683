#include "SecondsText.h"

#include "measuring/PeriodText.h"

namespace SecondsText {

std::chrono::milliseconds millis(std::chrono::nanoseconds span) {
    return std::chrono::round<std::chrono::milliseconds>(span);
}

QString thousandths(std::chrono::milliseconds span) {
    const qint64 ms = span.count();
    return QString::number(ms / 1000) + QLatin1Char('.') +
           QString::number(ms % 1000).rightJustified(3, QLatin1Char('0'));
}

QString shown(int tenths) {
    QString text = PeriodText(tenths).trimmed();
    text.chop(1); // 秒
    return text;
}

QString fixed(double value, int decimals) {
    // QString::number never uses the locale: always a '.'.
    return QString::number(value, 'f', decimals);
}

} // namespace SecondsText

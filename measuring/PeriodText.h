#pragma once

#include <QString>

// The period as shown: "0.7秒" below one second, " 1.5秒", " 2秒" above.
QString PeriodText(int tenths);

// Whether `text` is a period as PeriodText shows one, not a notice.
bool isPeriodText(const QString& text);

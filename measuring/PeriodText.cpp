#include "PeriodText.h"

#include <QRegularExpression>

QString PeriodText(int tenths) {
    const int whole = tenths / 10;
    const int tenth = tenths % 10;
    if (tenths < 10)
        return QStringLiteral("0.%1秒").arg(tenth);
    QString text = QStringLiteral(" %1").arg(whole);
    if (tenth > 0)
        text += QStringLiteral(".%1").arg(tenth);
    return text + QStringLiteral("秒");
}

bool isPeriodText(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^(0\\.[0-9]| [1-9][0-9]*(\\.[1-9])?)秒$"));
    return form.match(text).hasMatch();
}

#include "LineSettings.h"

#include "SerialLink.h"

#include <QStringList>

LineSettings LineSettings::parse(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        throw LinkError("line settings need four fields: " + text.toStdString());

    LineSettings s;
    bool ok = false;
    s.baudRate = parts[0].trimmed().toInt(&ok);
    if (!ok || s.baudRate <= 0)
        throw LinkError("bad baud rate: " + text.toStdString());

    const QString parity = parts[1].trimmed().toUpper();
    if (parity.size() != 1 || !QStringLiteral("NEOMS").contains(parity))
        throw LinkError("bad parity: " + text.toStdString());
    s.parity = parity.at(0).toLatin1();

    s.dataBits = parts[2].trimmed().toInt(&ok);
    if (!ok || s.dataBits < 5 || s.dataBits > 8)
        throw LinkError("bad data bits: " + text.toStdString());

    const QString stop = parts[3].trimmed();
    if (stop == QLatin1String("1"))
        s.stopBits = 1;
    else if (stop == QLatin1String("2"))
        s.stopBits = 2;
    else
        throw LinkError("bad stop bits: " + text.toStdString());
    return s;
}

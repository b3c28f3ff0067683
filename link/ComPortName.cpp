#include "ComPortName.h"

#include <QDir>
#include <QtGlobal>

QString comPortDeviceNameIn(int portNumber, const QString& adapterFolder) {
    // udev puts links there; System lets a device node placed there by hand count too.
    const QStringList adapters =
        QDir(adapterFolder)
            .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    if (portNumber >= 1 && portNumber <= adapters.size())
        return adapterFolder + QLatin1Char('/') + adapters.at(portNumber - 1);
    return QStringLiteral("/dev/ttyS%1").arg(portNumber - 1);
}

QString comPortDeviceName(int portNumber) {
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(portNumber);
#else
    return comPortDeviceNameIn(portNumber, QString::fromLatin1(UsbAdapterFolder));
#endif
}

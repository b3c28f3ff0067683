#include "PortKind.h"

#include <QFileInfo>

namespace {

bool is(const QString& said, const char* name) {
    return said.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

PortKind windowsKind(const PortSearch::PresentPort& port) {
    // "Standard Serial over Bluetooth link": enumerated by the Bluetooth
    // stack, run by its modem driver.
    if (is(port.enumerator, "BTHENUM") || is(port.service, "BTHMODEM"))
        return PortKind::BluetoothLink;
    // Windows' own driver for USB CDC devices ("USB シリアル デバイス").
    // Adapters run their vendors' drivers, built-in ports "Serial".
    if (is(port.service, "usbser"))
        return PortKind::UsbCdcDevice;
    return PortKind::MayBeTheBox;
}

PortKind unixKind(const PortSearch::PresentPort& port) {
    const QString name = QFileInfo(port.target.isEmpty() ? port.device : port.target).fileName();
    // cdc_acm names its devices ttyACM; the Bluetooth stack its links rfcomm.
    if (name.startsWith(QLatin1String("ttyACM")))
        return PortKind::UsbCdcDevice;
    if (name.startsWith(QLatin1String("rfcomm")))
        return PortKind::BluetoothLink;
    return PortKind::MayBeTheBox;
}

} // namespace

PortKind portKind(const PortSearch::PresentPort& port, Platform platform) {
    return platform == Platform::Windows ? windowsKind(port) : unixKind(port);
}

#include "PortSearch.h"

#include "ComPortName.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <algorithm>
#include <tuple>

namespace PortSearch {

namespace {

// A name split into its text and its trailing number, so that COM10 comes
// after COM9 and ttyUSB10 after ttyUSB9.
std::pair<QString, int> textAndNumber(const QString& name) {
    qsizetype digits = name.size();
    while (digits > 0 && name.at(digits - 1).isDigit())
        --digits;
    const QString number = name.mid(digits);
    return {name.left(digits), number.isEmpty() ? -1 : number.toInt()};
}

// Which group a Unix device is probed in: adapters first, built-in ports late.
int unixGroup(const QString& device) {
    static const QStringList groups{QString::fromLatin1(UsbAdapterFolder) + QLatin1Char('/'),
                                    QStringLiteral("/dev/ttyUSB"), QStringLiteral("/dev/ttyACM"),
                                    QStringLiteral("/dev/ttyS")};
    for (qsizetype g = 0; g < groups.size(); ++g)
        if (device.startsWith(groups.at(g)))
            return int(g);
    return int(groups.size());
}

// Two names for one port share a key: a link and its device, or COM7 and com7.
QString keyOf(const PresentPort& port, Platform platform) {
    const QString& name = port.target.isEmpty() ? port.device : port.target;
    return platform == Platform::Windows ? name.toUpper() : name;
}

} // namespace

QStringList order(const QString& named, const QList<PresentPort>& present, Platform platform) {
    QList<PresentPort> others = present;
    std::stable_sort(others.begin(), others.end(), [platform](const auto& a, const auto& b) {
        const int groupA = platform == Platform::Unix ? unixGroup(a.device) : 0;
        const int groupB = platform == Platform::Unix ? unixGroup(b.device) : 0;
        const auto [textA, numberA] = textAndNumber(keyOf({a.device, {}}, platform));
        const auto [textB, numberB] = textAndNumber(keyOf({b.device, {}}, platform));
        return std::tie(groupA, textA, numberA) < std::tie(groupB, textB, numberB);
    });

    // The named device is known by what its entry in the list leads to.
    PresentPort first{named, {}};
    for (const PresentPort& port : present)
        if (port.device == named)
            first = port;
    others.prepend(first);

    QStringList devices;
    QStringList keys;
    for (const PresentPort& port : others) {
        const QString key = keyOf(port, platform);
        if (port.device.isEmpty() || keys.contains(key))
            continue;
        keys << key;
        devices << port.device;
    }
    return devices;
}

QList<PresentPort> serialPortsPresent() {
    QList<PresentPort> present;
#ifdef Q_OS_WIN
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        present.append({info.portName(), {}});
#else
    const QDir adapters(QString::fromLatin1(UsbAdapterFolder));
    for (const QString& name :
         adapters.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        const QString link = adapters.filePath(name);
        present.append({link, QFileInfo(link).canonicalFilePath()});
    }
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        present.append({info.systemLocation(), {}});
#endif
    return present;
}

} // namespace PortSearch

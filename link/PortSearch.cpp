#include "PortSearch.h"

#include "ComPortName.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSerialPortInfo>
#include <algorithm>
#include <tuple>

#ifdef Q_OS_WIN
#include <windows.h>
// windows.h first: setupapi.h builds on it.
#include <setupapi.h>
#endif

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

#ifdef Q_OS_WIN
// The device setup classes and interfaces COM ports are listed under, spelled
// out so as not to depend on which import library defines them.
// Ports (COM & LPT): built-in ports, adapters, Bluetooth links, CDC devices.
constexpr GUID PortsClass{
    0x4d36e978, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};
// The COM port interface, which some drivers register their ports under only.
constexpr GUID ComPortInterface{
    0x86e0d1e0, 0x8089, 0x11d0, {0x9c, 0xe4, 0x08, 0x00, 0x3e, 0x30, 0x1f, 0x73}};

// Longer than any enumerator, service or port name Windows gives.
constexpr DWORD TextChars = 256;

QString registryProperty(HDEVINFO devices, SP_DEVINFO_DATA& device, DWORD property) {
    wchar_t text[TextChars + 1] = {};
    DWORD type = 0;
    if (!SetupDiGetDeviceRegistryPropertyW(devices, &device, property, &type,
                                           reinterpret_cast<PBYTE>(text),
                                           TextChars * sizeof(wchar_t), nullptr) ||
        type != REG_SZ)
        return {};
    return QString::fromWCharArray(text);
}

// "COM7": the PortName value in the device's own registry key.
QString portNameOf(HDEVINFO devices, SP_DEVINFO_DATA& device) {
    const HKEY key =
        SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_QUERY_VALUE);
    if (key == INVALID_HANDLE_VALUE)
        return {};
    wchar_t text[TextChars + 1] = {};
    DWORD type = 0;
    DWORD size = TextChars * sizeof(wchar_t);
    const LONG status =
        RegQueryValueExW(key, L"PortName", nullptr, &type, reinterpret_cast<LPBYTE>(text), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_SZ)
        return {};
    return QString::fromWCharArray(text);
}

// What the system says of each COM port present, by its name in capitals.
QHash<QString, PresentPort> comPortFacts() {
    QHash<QString, PresentPort> facts;
    const std::pair<const GUID*, DWORD> lists[] = {
        {&PortsClass, DIGCF_PRESENT}, {&ComPortInterface, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE}};
    for (const auto& [guid, flags] : lists) {
        const HDEVINFO devices = SetupDiGetClassDevsW(guid, nullptr, nullptr, flags);
        if (devices == INVALID_HANDLE_VALUE)
            continue;
        SP_DEVINFO_DATA device{};
        device.cbSize = sizeof(device);
        for (DWORD i = 0; SetupDiEnumDeviceInfo(devices, i, &device); ++i) {
            const QString name = portNameOf(devices, device);
            if (!name.startsWith(QLatin1String("COM"), Qt::CaseInsensitive))
                continue; // a printer port
            facts.insert(name.toUpper(), {name,
                                          {},
                                          registryProperty(devices, device, SPDRP_ENUMERATOR_NAME),
                                          registryProperty(devices, device, SPDRP_SERVICE)});
        }
        SetupDiDestroyDeviceInfoList(devices);
    }
    return facts;
}
#endif

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

PresentPort entryOf(const QString& device, const QList<PresentPort>& present) {
    for (const PresentPort& port : present)
        if (port.device == device)
            return port;
    return {device, {}};
}

QList<PresentPort> serialPortsPresent() {
    QList<PresentPort> present;
#ifdef Q_OS_WIN
    // Qt's list stays the list (Wine's ports are missing from SetupAPI's);
    // SetupAPI adds what it knows.
    const QHash<QString, PresentPort> facts = comPortFacts();
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        PresentPort port = facts.value(info.portName().toUpper());
        port.device = info.portName();
        present.append(port);
    }
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

#pragma once

#include <QByteArray>
#include <QString>

// The Perix box's byte protocol: every command is one byte, a write command
// is followed by one value byte, and each read command is answered by one
// byte. Nothing else travels on the line.
namespace PerixProtocol {

// Wakes the box; sent twice before the probe.
constexpr unsigned char Wake = 0;
// Asks the box who it is; it answers with its identity.
constexpr unsigned char Probe = 255;

constexpr int FirstChannel = 1;
constexpr int LastChannel = 3;
// Channel 1 carries the light sensor, channel 3 the eight digital lines.
constexpr int LightChannel = 1;
constexpr int DigitalChannel = 3;

constexpr bool isChannel(int channel) {
    return channel >= FirstChannel && channel <= LastChannel;
}
// 242, 243 and 244 read channels 1 to 3.
constexpr unsigned char readCommand(int channel) {
    return static_cast<unsigned char>(241 + channel);
}
// 245, 246 and 247, each followed by the value, write channels 1 to 3.
constexpr unsigned char writeCommand(int channel) {
    return static_cast<unsigned char>(244 + channel);
}
// The channel a read or write command is for, or 0 for any other byte.
constexpr int readChannelOf(unsigned char command) {
    return command >= readCommand(FirstChannel) && command <= readCommand(LastChannel)
               ? command - 241
               : 0;
}
constexpr int writeChannelOf(unsigned char command) {
    return command >= writeCommand(FirstChannel) && command <= writeCommand(LastChannel)
               ? command - 244
               : 0;
}

// The sampling ticks' command: read the light sensor.
constexpr unsigned char SampleLight = readCommand(LightChannel);

// What the box answers to the probe.
inline QByteArray identity() {
    return QByteArrayLiteral("MERAVO");
}

// The line: 9600 baud, no parity, 8 data bits, 1 stop bit.
inline QString lineSettings() {
    return QStringLiteral("9600,N,8,1");
}

} // namespace PerixProtocol

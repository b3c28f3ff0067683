#include "PerixIo.h"

#include "ReplyWait.h"
#include "core/PerixProtocol.h"

#include <algorithm>
#include <string>

namespace {

bool isBitNumber(int n) {
    return n >= 0 && n <= 7;
}

} // namespace

PerixIo::PerixIo(ProgramValues& values, SerialLink& port) : v(values), MSComm1(port) {}

void PerixIo::PerixInput() {
    if (!PerixProtocol::isChannel(v.ChannelNo)) {
        v.DataValue = 0;
        return;
    }
    // Answers to earlier commands (a sampling tick's, say) may be waiting;
    // taking one of them for this reply would give a wrong reading.
    MSComm1.readAll();
    const unsigned char command = PerixProtocol::readCommand(v.ChannelNo);
    MSComm1.writeByte(command);
    QByteArray reply;
    collectReply(MSComm1, reply, 1, ReplyWaitMs);
    if (reply.isEmpty())
        throw NoReplyError("the box did not answer read command " + std::to_string(command));
    // The box answers in order, so a late answer to an earlier command can
    // only come before ours: the newest byte is the reply.
    v.DataValue = static_cast<unsigned char>(reply.back());
}

void PerixIo::PerixOutPut() {
    if (!PerixProtocol::isChannel(v.ChannelNo))
        return;
    v.DataValue = std::clamp<std::int16_t>(v.DataValue, 0, 255);
    QByteArray bytes;
    bytes.append(char(PerixProtocol::writeCommand(v.ChannelNo)));
    bytes.append(char(v.DataValue));
    MSComm1.write(bytes);
}

void PerixIo::PerixDigInput() {
    if (!isBitNumber(v.DigitalBitNo)) {
        v.DigitalBit = 0;
        return;
    }
    v.ChannelNo = PerixProtocol::DigitalChannel;
    PerixInput();
    v.DigitalBit = (v.DataValue & (1 << v.DigitalBitNo)) != 0 ? 1 : 0;
}

void PerixIo::PerixDigOutput() {
    if (!isBitNumber(v.DigitalBitNo))
        return;
    const int mask = 1 << v.DigitalBitNo;
    const auto outputs = static_cast<std::int16_t>(
        v.DigitalBit != 0 ? (v.DigitalShadow | mask) : (v.DigitalShadow & (255 ^ mask)));
    v.ChannelNo = PerixProtocol::DigitalChannel;
    v.DataValue = outputs;
    PerixOutPut();
    // Only a byte that went out becomes the record of the outputs, so a
    // failed write leaves the record matching the box.
    v.DigitalShadow = outputs;
}

#pragma once

#include "core/ProgramValues.h"
#include "link/SerialLink.h"

// The box did not answer a read command in time.
class NoReplyError : public LinkError {
public:
    using LinkError::LinkError;
};

// The box's channel routines: read and write an analog channel, read one
// digital input, set or clear one digital output. Inputs and results go
// through the program-wide values; failures of the link go to the caller.
class PerixIo {
public:
    // How long PerixInput waits for its reply byte. Command and reply take
    // about 2 ms on the wire at 9600 baud, but common USB serial adapters hold
    // received bytes for up to 16 ms before passing them on. 50 ms covers
    // that with room to spare and keeps a missing box from stalling anyone.
    static constexpr int ReplyWaitMs = 50;

    PerixIo(ProgramValues& values, SerialLink& port);

    // ChannelNo -> DataValue. Throws NoReplyError, leaving DataValue as it
    // was, when the box does not answer.
    void PerixInput();
    // ChannelNo, DataValue (limited to 0..255 in place) -> the box.
    void PerixOutPut();
    // DigitalBitNo -> DigitalBit, through a read of channel 3.
    void PerixDigInput();
    // DigitalBitNo, DigitalBit -> one output line; the others keep the
    // state recorded in DigitalShadow.
    void PerixDigOutput();

private:
    ProgramValues& v;
    SerialLink& MSComm1;
};

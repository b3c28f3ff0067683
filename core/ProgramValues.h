#pragma once

#include "core/ColorTable.h"
#include "core/ColorValue.h"
#include "core/PerixProtocol.h"

#include <QByteArray>
#include <cstdint>

// The values every part of the program works on. One instance is made in
// main() and handed to the windows; the routines without arguments read
// their inputs from here and leave their results here. The initial values
// are also the settings' defaults, which the Tv.txt reader starts from.
struct ProgramValues {
    // Settings, from Tv.txt.
    std::int16_t PortNo = 1;                        // the box's port: COM PortNo
    ColorValue TextColor = ColorTable::BuiltInText; // the display's text colour
    ColorValue BackColor = ColorTable::BuiltInBack; // the display's background
    std::int16_t Sensitivity = 50;                  // the drop in brightness that is a passage
    // "Kiroku=1": every passage goes into a record file as well. Off, nothing
    // is written and nothing is shown differently.
    bool KeepRecord = false;

    // The colour dialog.
    ColorValue ShownTextColor = ColorTable::BuiltInText; // the text colour now on the display
    ColorValue ShownBackColor = ColorTable::BuiltInBack; // the background now on the display
    std::int32_t ColorTarget = 0;                        // the colour being edited: 1 text, 2 back

    // The sensitivity dialog: Sensitivity as it was at opening, for Cancel.
    std::int16_t SavedSensitivity = 0;

    // Measuring.
    // Tenths of a second since the last passage. The brightest sample since
    // then is the detector's, on the line's side.
    std::int32_t TenthCount = 0;
    // The one byte sent on every sampling tick: the box's read of the light sensor.
    QByteArray SampleCommand = QByteArray(1, char(PerixProtocol::SampleLight));

    // The box.
    std::int16_t DataValue = 0;     // the last byte from the box (a brightness), or a byte to send
    bool NotConnected = true;       // the box did not answer the start-up probe
    std::int16_t ChannelNo = 1;     // the box channel, 1..3, for the channel routines
    std::int16_t DigitalShadow = 0; // the last byte written to the digital outputs
    std::int16_t DigitalBit = 0;    // a digital input read, or an output's on/off to write
    std::int16_t DigitalBitNo = 0;  // the digital line, 0..7, for the digital routines
};

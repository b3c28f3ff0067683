#pragma once

#include "core/ColorTable.h"
#include "core/ColorValue.h"
#include "core/PerixProtocol.h"

#include <QByteArray>
#include <cstdint>

// The values every part of the program works on. One instance is made in
// main() and handed to the windows; the routines without arguments read
// their inputs from here and leave their results here.
struct ProgramValues {
    std::int16_t PortNo = 1;
    ColorValue TextColor = ColorTable::BuiltInText;
    ColorValue BackColor = ColorTable::BuiltInBack;
    ColorValue ShownTextColor = ColorTable::BuiltInText;
    ColorValue ShownBackColor = ColorTable::BuiltInBack;
    std::int32_t ColorTarget = 0;
    std::int16_t Sensitivity = 50;
    std::int16_t SavedSensitivity = 0;
    std::int32_t TenthCount = 0;
    std::int32_t PeakBrightness = 0;
    QByteArray SampleCommand = QByteArray(1, char(PerixProtocol::SampleLight));
    std::int16_t DataValue = 0;
    bool NotConnected = true;
    std::int16_t ChannelNo = 1;
    std::int16_t DigitalShadow = 0;
    std::int16_t DigitalBit = 0;
    std::int16_t DigitalBitNo = 0;
    // "Kiroku=1": every passage goes into a record file as well. Off, nothing
    // is written and nothing is shown differently.
    bool KeepRecord = false;
};

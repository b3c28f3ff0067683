#include "Measuring.h"

#include "link/SerialLink.h"

#include <algorithm>

namespace Measuring {

Exchange exchange(SerialLink& port, const QByteArray& sampleCommand) {
    Exchange x;
    // No port: nothing to send, and no failure to throw and catch a hundred
    // times a second.
    if (!port.isOpen())
        return x;
    try {
        port.write(sampleCommand);
        x.sent = true;
        x.replies = port.readAll();
    } catch (const LinkError&) {
        x.replies.clear();
    }
    return x;
}

std::optional<int> detect(ProgramValues& v, int brightness) {
    std::optional<int> shown;
    if (v.PeakBrightness < brightness)
        v.PeakBrightness = brightness;
    const int drop = v.PeakBrightness - brightness;
    if (drop > v.Sensitivity && v.TenthCount != 0) {
        shown = v.TenthCount;
        v.TenthCount = 0;
        // One, not zero: any light at all becomes the new peak.
        v.PeakBrightness = 1;
    }
    v.DataValue = std::int16_t(brightness);
    return shown;
}

void freshInterval(ProgramValues& v, Peak peak) {
    v.TenthCount = 0;
    if (peak == Peak::Forgotten)
        v.PeakBrightness = 0;
}

void clockTick(ProgramValues& v, std::int64_t tenths) {
    v.TenthCount = std::int32_t(std::min<std::int64_t>(v.TenthCount + tenths, MaxTenthCount));
}

} // namespace Measuring

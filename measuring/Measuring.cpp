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

std::optional<int> passage(ProgramValues& v, bool followsGap) {
    const int tenths = v.TenthCount;
    v.TenthCount = 0;
    if (followsGap || tenths == 0)
        return std::nullopt;
    return tenths;
}

void freshInterval(ProgramValues& v) {
    v.TenthCount = 0;
}

bool clockTick(ProgramValues& v, std::int64_t tenths) {
    const bool wasZero = v.TenthCount == 0;
    v.TenthCount = std::int32_t(std::min<std::int64_t>(v.TenthCount + tenths, MaxTenthCount));
    return wasZero && v.TenthCount != 0;
}

} // namespace Measuring

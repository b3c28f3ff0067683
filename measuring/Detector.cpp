#include "Detector.h"

bool Detector::see(int brightness) {
    DataValue = std::int16_t(brightness);
    if (PeakBrightness < brightness)
        PeakBrightness = brightness;
    if (PeakBrightness - brightness <= Sensitivity || !m_counting)
        return false;
    m_counting = false;
    // One, not zero: any light at all becomes the new peak.
    PeakBrightness = 1;
    return true;
}

void Detector::freshInterval(Peak peak) {
    m_counting = false;
    if (peak == Peak::Forgotten)
        PeakBrightness = 0;
}

#pragma once

#include <cstdint>

// The detector of passages, on the line's side: it sees every brightness the
// box sends. A drop of more than Sensitivity below the running peak is a
// passage, but only while the tenths are being counted (TenthCount is not 0):
// a beam cut in the first tenth of an interval is caught at the next tenth,
// since the peak is kept until then. The window counts the tenths and says
// when counting has begun.
class Detector {
public:
    // What a fresh interval does with the brightest light seen so far.
    enum class Peak {
        Kept,     // sampling only paused: the same light, the same peak
        Forgotten // the box was away: its light may differ now
    };

    std::int16_t Sensitivity = 50;   // the drop in brightness that is a passage
    std::int32_t PeakBrightness = 0; // the brightest sample since the last passage
    std::int16_t DataValue = 0;      // the last brightness seen

    // True when the brightness ends an interval: the beam has just been cut.
    bool see(int brightness);
    // The count of tenths is 0 again (a fresh interval) ...
    void freshInterval(Peak peak);
    // ... and has gone past 0 since.
    void countingBegan() { m_counting = true; }
    bool counting() const { return m_counting; }

private:
    bool m_counting = false;
};

#pragma once

// An axis of the きろく graph: from low to high, with a line at every step.
// Steps are round (1, 2 or 5 times a power of ten) so that the labels read
// easily from the back of the room.
struct GraphScale {
    double low = 0.0;
    double high = 1.0;
    double step = 1.0;

    // The axis for values from `least` to `most`, at least `narrowest` wide
    // around their middle, in at most `mostSteps` steps.
    static GraphScale around(double least, double most, double narrowest, int mostSteps);

    // Decimals a label needs to tell the steps apart: 0.01 gives 2, 5 gives 0.
    int decimals() const;
    // Where `value` falls, from 0 at low to 1 at high.
    double fraction(double value) const { return (value - low) / (high - low); }
};

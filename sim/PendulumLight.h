#pragma once

#include <random>

// The light sensor's view of a swinging pendulum: ambient light around 200
// with a little noise and a slow drift, and a dark dip each time the bob
// passes through the beam.
class PendulumLight {
public:
    struct Setup {
        double periodSeconds = 2.5; // a pendulum about 1.55 m long
        double amplitudeCm = 10.0;  // how far the bob swings from the middle
        double gateCm = 0.0;        // where the beam crosses the swing
        double bobRadiusCm = 1.5;
        double beamWidthCm = 0.2; // light fades over this width at the bob's edge
        double ambient = 200.0;
        double driftAmplitude = 6.0; // slow drift, e.g. a cloud or a lamp warming up
        double driftPeriodSeconds = 45.0;
        double noise = 3.0;        // +- units of sensor noise
        double darkFraction = 0.8; // how much of the light a bob in the beam blocks
        unsigned seed = 1;
    };

    PendulumLight() : PendulumLight(Setup{}) {}
    explicit PendulumLight(const Setup& setup);

    // Brightness 0..255 at a time in seconds since the box was switched on.
    int brightnessAt(double seconds);

    const Setup& setup() const { return m_setup; }

private:
    double positionAt(double seconds) const;

    Setup m_setup;
    std::mt19937 m_random;
};

#include "PendulumLight.h"

#include <algorithm>
#include <cmath>
#include <numbers>

PendulumLight::PendulumLight(const Setup& setup) : m_setup(setup), m_random(setup.seed) {}

double PendulumLight::positionAt(double seconds) const {
    return m_setup.amplitudeCm * std::sin(2 * std::numbers::pi * seconds / m_setup.periodSeconds);
}

int PendulumLight::brightnessAt(double seconds) {
    const double drift = m_setup.driftAmplitude *
                         std::sin(2 * std::numbers::pi * seconds / m_setup.driftPeriodSeconds);
    std::uniform_real_distribution<double> jitter(-m_setup.noise, m_setup.noise);
    double light = m_setup.ambient + drift + jitter(m_random);

    // How much of the beam the bob covers: none outside its radius, all of it
    // once the beam is a beam-width inside the bob's edge.
    const double distance = std::abs(positionAt(seconds) - m_setup.gateCm);
    const double coverage =
        std::clamp((m_setup.bobRadiusCm - distance) / m_setup.beamWidthCm + 0.5, 0.0, 1.0);
    light *= 1.0 - m_setup.darkFraction * coverage;
    return std::clamp(int(std::lround(light)), 0, 255);
}

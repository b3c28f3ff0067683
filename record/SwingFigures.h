#pragma once

#include <QString>
#include <chrono>
#include <optional>

// What a series of intervals tells: how many, their average and spread, the
// pendulum's period and, from its length, g. Taken from the intervals in whole
// milliseconds, as the record file holds them, so that a spreadsheet given the
// same column finds the same figures.
class SwingFigures {
public:
    // The longest pendulum a length is taken for, in metres; anything longer
    // is a slip of the keyboard.
    static constexpr double LongestPendulumM = 100.0;

    void add(std::chrono::milliseconds interval);

    int count() const { return m_count; }
    // In seconds.
    std::optional<double> average() const;
    // The standard deviation of the intervals in seconds, as a spreadsheet's
    // STDEV gives it (divided by count − 1): from two intervals on.
    std::optional<double> spread() const;
    // The period T in seconds: with the beam at the middle of the swing the
    // bob passes it twice per swing, so T is twice the average interval.
    std::optional<double> period() const;
    // g = 4π²L/T², in m/s², for a pendulum `lengthM` metres long.
    std::optional<double> gravity(std::optional<double> lengthM) const;

    // The length as typed, in metres: "1.55", "1,55" or in full-width figures
    // ("１．５５"). None when empty, not a number, not above zero or longer
    // than LongestPendulumM.
    static std::optional<double> lengthFrom(const QString& typed);

private:
    int m_count = 0;
    // Welford's running mean and sum of squared deviations: steady however
    // many intervals come and however close together they lie.
    double m_meanMs = 0.0;
    double m_squaresMs = 0.0;
};

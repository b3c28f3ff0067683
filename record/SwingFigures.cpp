#include "SwingFigures.h"

#include <cmath>
#include <numbers>

void SwingFigures::add(std::chrono::milliseconds interval) {
    const double ms = double(interval.count());
    ++m_count;
    const double fromOldMean = ms - m_meanMs;
    m_meanMs += fromOldMean / m_count;
    m_squaresMs += fromOldMean * (ms - m_meanMs);
}

std::optional<double> SwingFigures::average() const {
    if (m_count < 1)
        return std::nullopt;
    return m_meanMs / 1000.0;
}

std::optional<double> SwingFigures::spread() const {
    if (m_count < 2)
        return std::nullopt;
    return std::sqrt(m_squaresMs / (m_count - 1)) / 1000.0;
}

std::optional<double> SwingFigures::period() const {
    if (const auto a = average())
        return 2.0 * *a;
    return std::nullopt;
}

std::optional<double> SwingFigures::gravity(std::optional<double> lengthM) const {
    const std::optional<double> t = period();
    if (!t || !lengthM || *t <= 0.0)
        return std::nullopt;
    return 4.0 * std::numbers::pi * std::numbers::pi * *lengthM / (*t * *t);
}

std::optional<double> SwingFigures::lengthFrom(const QString& typed) {
    // Full-width figures and points, as a Japanese input method may type them.
    QString text = typed.normalized(QString::NormalizationForm_KC).trimmed();
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double metres = text.toDouble(&ok);
    if (!ok || !std::isfinite(metres) || metres <= 0.0 || metres > LongestPendulumM)
        return std::nullopt;
    return metres;
}

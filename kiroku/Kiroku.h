#pragma once

#include "record/SwingSeries.h"

#include <chrono>
#include <memory>
#include <optional>

class KirokuWindow;
class QWidget;

// The series of the run and its きろく window. The series takes every passage
// and gap from the start, whether the window is open or not; the window is
// made at its first opening and only hidden when closed.
class Kiroku {
public:
    // The gap between the main window and the きろく window beside it.
    static constexpr int BesideGap = 8;

    Kiroku();
    ~Kiroku();
    Kiroku(const Kiroku&) = delete;
    Kiroku& operator=(const Kiroku&) = delete;

    // Gives `display` its own small menu, on a right-click or the
    // context-menu key, with 「きろく」 first: the menu bar keeps its commands.
    void offerOn(QWidget* display);

    // A passage seen in the sample taken at `seenAt`, with the tenths shown
    // for it; none after a gap in sampling.
    void passage(std::chrono::nanoseconds seenAt, std::optional<int> shownTenths);
    // Sampling was interrupted: the next passage ends no interval.
    void gap();

    // Opens the window beside `mainWindow`, or brings it to the front.
    void show(QWidget* mainWindow);

private:
    SwingSeries m_series;
    std::unique_ptr<KirokuWindow> m_window;
};

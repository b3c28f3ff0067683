#pragma once

#include <QString>
#include <functional>

// Where the start-up routines leave their notices for the user: the main
// window's display label in the program, a plain record in tests.
struct NoticeSink {
    // Replaces the notice shown.
    std::function<void(const QString& text)> show;
    // Sets the type size of the notices, in points.
    std::function<void(int points)> setPointSize;
};

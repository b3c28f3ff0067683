#pragma once

#include "core/NoticeSink.h"

#include <QString>

// A notice board that keeps the last notice and type size, as the display
// label would.
struct RecordedNotices {
    QString text;
    int points = 0;

    NoticeSink sink() {
        return {[this](const QString& t) { text = t; }, [this](int p) { points = p; }};
    }
};

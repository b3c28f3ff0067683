#pragma once

#include <QSize>

// How big the display label and its type are for a given client area.
struct LabelSizing {
    QSize label;
    int fontPoints = 1;

    // The label fills the client area but for 2 pixels on the right and 4 at
    // the bottom; the type is a fifth of the label's width in points.
    static LabelSizing forClient(QSize client) {
        LabelSizing s;
        // A window squeezed to a sliver must not ask for a negative size or a
        // zero-point font.
        s.label = QSize(qMax(0, client.width() - 2), qMax(0, client.height() - 4));
        s.fontPoints = qMax(1, s.label.width() / 5);
        return s;
    }

    // Heights of 20 pixels and less (a minimised window among them) leave the
    // label as it was.
    static bool appliesTo(QSize client) { return client.height() > 20; }
};

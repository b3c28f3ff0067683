#pragma once

#include "WindowFixture.h"
#include "link/LinkWatch.h"

#include <QStringList>
#include <functional>

// What start-up finds on the port: a box that answers the probe, no port at
// all, or a box that answers samples but not the probe.
enum AtStartUp { BoxThere, NoPort, ProbeUnanswered };

// The whole window on a scripted port whose box comes and goes, its timers
// fired by hand as the event loop would fire them.
struct Classroom {
    WindowFixture f;
    int bothSamplers = 0; // ticks on which Timer1 and Timer3 both ran

    explicit Classroom(AtStartUp start) {
        f.port->openFails = start == NoPort;
        if (start == ProbeUnanswered) {
            f.startUp();
            // The clock went on while the probe waited: one late tick.
            if (ms() >= 100)
                f.window->Timer2_Timer();
        } else {
            f.startWithBox();
        }
        f.window->Timer2.stop();
        f.port->reads.clear();
        if (start == BoxThere)
            f.line->Timer1.start();
    }

    qint64 ms() const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(f.now).count();
    }

    // What the box answers a sample taken at a time, in ms; -1: nothing.
    std::function<int(qint64)> light = [](qint64) { return 200; };
    // Each new text of the display, in order.
    QStringList shown;

    // Runs the timers up to `until` ms; the box answers every sample while
    // its port is open.
    void runUntil(qint64 until) {
        using namespace std::chrono_literals;
        MainWindow& w = *f.window;
        BoxLine& l = *f.line;
        while (ms() < until) {
            f.now += 10ms;
            if (l.Timer1.isActive() && l.Timer3.isActive())
                ++bothSamplers;
            if (l.Timer1.isActive() || l.Timer3.isActive()) {
                const int brightness = light(ms());
                if (f.port->isOpen() && !l.LinkTimer.isActive() && brightness >= 0)
                    f.port->reads.push_back(QByteArray(1, char(brightness)));
                l.Timer1.isActive() ? l.Timer1_Timer() : l.Timer3_Timer();
            }
            if (l.LinkTimer.isActive() && ms() % LinkWatch::TickMs == 0)
                l.LinkTimer_Timer();
            // The clock ticks half-way between the watch's tries.
            if (ms() % 100 == 50)
                w.Timer2_Timer();
            if (shown.value(shown.size() - 1) != f.display())
                shown << f.display();
        }
    }

    // Runs the timers for `span` ms more, the box answering `brightness`
    // (-1: nothing).
    void runFor(qint64 span, int brightness) {
        light = [brightness](qint64) { return brightness; };
        runUntil(ms() + span);
    }

    // The adapter is plugged in (again): its port opens, its box answers the probe.
    void plugIn() {
        f.port->openFails = false;
        f.port->reads.clear();
        f.port->reads.push_back("MERAVO");
    }
};

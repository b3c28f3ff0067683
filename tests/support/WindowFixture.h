#pragma once

#include "ScriptedMessageBoxes.h"
#include "ScriptedPort.h"
#include "app/MainWindow.h"
#include "core/ProgramValues.h"

#include <QDateTime>
#include <QLabel>
#include <QTemporaryDir>
#include <chrono>
#include <memory>

// A main window on a scripted port, with fresh program-wide values and
// message boxes a test can answer. The line to the box stays on the test's
// thread, so the window's signals reach it at once and the test fires its
// timers by hand. A record goes into a documents folder of its own, never
// the user's.
struct WindowFixture {
    ProgramValues v;
    ScriptedMessageBoxes boxes;
    ScriptedPort* port = nullptr; // owned by the line once it has started
    int endCalls = 0;
    // The monotonic clock the window counts its tenths by; it moves only when
    // the test says so.
    std::chrono::nanoseconds now{};
    // The wall clock stands at wallAtZero when `now` is zero and moves with it.
    QDateTime wallAtZero{QDate(2026, 12, 7), QTime(14, 5, 3)};
    QTemporaryDir documents;
    std::unique_ptr<BoxLine> line;
    std::unique_ptr<MainWindow> window;

    // The record's file is made in `documents` unless createFile says otherwise.
    explicit WindowFixture(RecordPlace::CreateFile createFile = {}) {
        auto owned =
            std::make_shared<std::unique_ptr<SerialLink>>(std::make_unique<ScriptedPort>());
        port = static_cast<ScriptedPort*>(owned->get());
        line = std::make_unique<BoxLine>([owned] { return std::move(*owned); },
                                         [this] { return now; });
        RecordPlace place = RecordPlace::inDocuments(documents.path(), [this] { return wall(); });
        if (createFile)
            place.createFile = std::move(createFile);
        window = std::make_unique<MainWindow>(
            v, *line, boxes, [this] { ++endCalls; }, [this] { return now; }, std::move(place));
    }

    QDateTime wall() const {
        return wallAtZero.addMSecs(
            std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
    }

    // Start-up, and the search's first round, which probes COM n, until the
    // box has answered or the probe's wait is over.
    void startUp() {
        window->Form_Load();
        line->LinkTimer_Timer();
        while (line->startingUp() && line->LinkTimer.isActive()) {
            now += std::chrono::milliseconds(LinkWatch::TickMs);
            line->LinkTimer_Timer();
        }
    }

    // Starts up with a box that answers the probe, then stops the real timers
    // so the test alone decides when a tick happens.
    void startWithBox() {
        port->reads.push_back("MERAVO");
        startUp();
        line->Timer1.stop();
        window->Timer2.stop();
        port->written.clear();
    }

    // One sampling tick on which the given bytes are waiting.
    void sample(const QByteArray& waiting) {
        port->reads.push_back(waiting);
        line->Timer1_Timer();
    }
    void sample(int brightness) { sample(QByteArray(1, char(brightness))); }

    // Clock ticks on time, a tenth of a second apart; the detector is armed
    // by the first after a passage, as the window tells the line.
    void clock(int ticks = 1) {
        for (int i = 0; i < ticks; ++i) {
            now += std::chrono::milliseconds(100);
            window->Timer2_Timer();
        }
    }

    QString display() const { return window->Label1->text(); }
};

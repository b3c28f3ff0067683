#pragma once

#include "link/SerialLink.h"

#include <QByteArray>
#include <functional>

// Opening the line to the box and waking and probing it, shared by the
// program's start-up and by the perix-io tool. Each step runs through a
// runner: start-up passes one that absorbs a failing step and goes on, the
// tool one that lets the failure through.
namespace LinkStartup {

using StepRunner = std::function<void(const std::function<void()>& step)>;

// Lets a step's failure through to the caller.
void runStrictly(const std::function<void()>& step);
// Skips a step that fails; nothing is reported.
void runAbsorbing(const std::function<void()>& step);

// How long the probe keeps collecting the box's reply after its first read.
// At 9600 baud the six reply bytes need about 6 ms on the wire; a slow USB
// adapter adds a few more. 200 ms is plenty and still unnoticeable.
constexpr int ProbeWaitMs = 200;

// "9600,N,8,1", open, binary reads, notification thresholds of one byte.
void openLine(SerialLink& port, const StepRunner& run);

// Sends 0, 0 and 255 as three writes; the box answers the last one.
void sendWakeAndProbe(SerialLink& port, const StepRunner& run);

// Sends 0, 0 and 255 as three writes and collects the reply; true when it
// begins with the box's identity.
bool wakeAndProbe(SerialLink& port, const StepRunner& run);

// True when a probe reply says the box is there.
bool replyIsFromBox(const QByteArray& reply);

} // namespace LinkStartup

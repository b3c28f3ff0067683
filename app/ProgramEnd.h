#pragma once

// Ends the program at once: every window vanishes, no close handler asks
// again, and the event loop stops so that the serial port is released as the
// program exits.
void endProgramNow();

// Ends the process at once with `code`, leaving threads stuck in the system
// behind: nothing more is written, and no destructor waits for them.
[[noreturn]] void endLeavingThreads(int code);

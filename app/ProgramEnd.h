#pragma once

// Ends the program at once: every window vanishes, no close handler asks
// again, and the event loop stops so that the serial port is released as the
// program exits.
void endProgramNow();

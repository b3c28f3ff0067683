#pragma once

#include "core/ProgramValues.h"

class QIODevice;

// Applies the lines of an open customization file to the settings in file
// order, until the file ends or a line's value fails. The device is read in
// pieces until read() gives nothing more; a read error ends the reading and
// the unfinished line is left out.
void readCustomization(QIODevice& file, ProgramValues& v);

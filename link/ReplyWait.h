#pragma once

#include "SerialLink.h"

#include <QByteArray>

// Keeps reading the link until reply holds at least `wanted` bytes, giving up
// once msecs have gone by; stops early when a whole wait brings nothing.
void collectReply(SerialLink& port, QByteArray& reply, qsizetype wanted, int msecs);

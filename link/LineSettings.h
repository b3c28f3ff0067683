#pragma once

#include <QString>

// A settings text such as "9600,N,8,1", taken apart.
struct LineSettings {
    int baudRate = 9600;
    char parity = 'N'; // N, E, O, M or S
    int dataBits = 8;
    int stopBits = 1;

    // Throws LinkError when the text is not of that form.
    static LineSettings parse(const QString& text);
};

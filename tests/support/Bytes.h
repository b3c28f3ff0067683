#pragma once

#include <QByteArray>
#include <initializer_list>

// Bytes written as numbers, e.g. bytes({247, 8}).
inline QByteArray bytes(std::initializer_list<int> values) {
    QByteArray b;
    for (int x : values)
        b.append(char(x));
    return b;
}

#pragma once

#include <QString>

// A raw pseudo-terminal: the far end of a serial line that a program opens
// by slavePath() as its port. Bytes such as 0 and 255 pass unchanged.
class PseudoTerminal {
public:
    // Throws std::runtime_error when the system has none to give.
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    int masterFd() const { return m_master; }
    QString slavePath() const { return m_slavePath; }
    // Hangs up the line: the master end closes.
    void close();

private:
    int m_master = -1;
    QString m_slavePath;
};

#pragma once

#include "PortSearch.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <stdexcept>

// Any failure of the serial link: a port that will not open, a write or a
// read on a closed port, a bad settings text.
class LinkError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A port that would not open, and why, so that a tool can tell its user.
class PortOpenError : public LinkError {
public:
    enum class Reason { NoSuchPort, Busy, NotAllowed, Other };
    PortOpenError(Reason reason, const std::string& what) : LinkError(what), m_reason(reason) {}
    Reason reason() const { return m_reason; }

private:
    Reason m_reason;
};

// The serial port as the program uses it. The real one sits on QSerialPort;
// tests put a scripted port here and the demo puts the simulated box here.
class SerialLink {
public:
    SerialLink() = default;
    virtual ~SerialLink() = default;
    // Ports hand `this` to callbacks (the report of a port gone, the simulated
    // box's sensor), which a copy or a move would leave on the old object.
    SerialLink(const SerialLink&) = delete;
    SerialLink& operator=(const SerialLink&) = delete;

    // Selects COM1..COM4. Fails while the port is open.
    virtual void setCommPort(int portNumber) = 0;
    // Where to look for the box when it does not answer on COM n: the device
    // COM n names, and the serial ports present now. Nothing for a port that
    // has one line only, such as the simulated box.
    virtual QString namedDevice() const { return {}; }
    virtual QList<PortSearch::PresentPort> portsPresent() const { return {}; }
    // Makes a port of the same kind on another device, so that the search can
    // probe it on a thread of its own; it must hold nothing of this port's.
    // None: every probe goes through this port, one after the other.
    using OtherPortMaker = std::function<std::unique_ptr<SerialLink>(const QString& device)>;
    virtual OtherPortMaker otherPortMaker() const { return {}; }
    // Points the port at one of those devices instead of COM n, until the
    // next setCommPort. Fails while the port is open; a port with one line
    // only has nothing to point.
    virtual void setDevice(const QString& device) { static_cast<void>(device); }
    // Line settings as "9600,N,8,1".
    virtual void setSettings(const QString& settings) = 0;
    // Fails for a port with no device behind it and for a port in use.
    virtual void open() = 0;
    virtual bool isOpen() const = 0;
    // Closes the port; nothing happens when it is closed already.
    virtual void close() = 0;
    // Reads hand over the received bytes unchanged, zero bytes included.
    virtual void setBinaryInput() = 0;
    virtual void setSThreshold(int bytes) = 0;
    virtual void setRThreshold(int bytes) = 0;
    // Sends the bytes unchanged. Fails while the port is closed.
    virtual void write(const QByteArray& bytes) = 0;
    // Everything received so far, possibly nothing; never waits.
    // Fails while the port is closed.
    virtual QByteArray readAll() = 0;
    // Waits at most msecs for more bytes to arrive; true when some did.
    // Fails while the port is closed.
    virtual bool waitForReadyRead(int msecs) = 0;

    void writeByte(unsigned char byte) { write(QByteArray(1, char(byte))); }

    // Called on the user-interface thread each time an open port goes away by
    // itself (an unplugged adapter, a hung-up line). A port that never opened,
    // or that the program closed, does not call it.
    void whenGone(std::function<void()> notify) { m_whenGone = std::move(notify); }
    // Called on the user-interface thread each time the open port reports an
    // error that need not mean it has gone (a garbled read, a write the
    // driver refused once). It may come from inside the port's own code, so
    // the one told must not close the port there and then.
    void whenFaulty(std::function<void()> notify) { m_whenFaulty = std::move(notify); }

protected:
    void reportGone() {
        if (m_whenGone)
            m_whenGone();
    }
    void reportFault() {
        if (m_whenFaulty)
            m_whenFaulty();
    }

private:
    std::function<void()> m_whenGone;
    std::function<void()> m_whenFaulty;
};

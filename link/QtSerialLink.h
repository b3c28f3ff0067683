#pragma once

#include "ComPortName.h"
#include "LineSettings.h"
#include "PortSearch.h"
#include "SerialLink.h"

#include <QObject>
#include <QSerialPort>

// The real serial port, on QSerialPort. Each opening asks the namer afresh
// which device COM n is, so that an adapter back in another USB socket, or
// the adapters renumbered, are found. The ports it lists as the places to
// search for the box are those `present` gives: the program hands in the
// system's list; by default there are none besides COM n.
class QtSerialLink : public QObject, public SerialLink {
    Q_OBJECT
public:
    explicit QtSerialLink(ComPortNamer namer = comPortDeviceName,
                          PortSearch::PresentPorts present = PortSearch::noOtherPorts,
                          QObject* parent = nullptr);
    ~QtSerialLink() override;

    void setCommPort(int portNumber) override;
    QString namedDevice() const override;
    QList<PortSearch::PresentPort> portsPresent() const override;
    OtherPortMaker otherPortMaker() const override;
    void setDevice(const QString& device) override;
    void setSettings(const QString& settings) override;
    void open() override;
    bool isOpen() const override;
    void close() override;
    void setBinaryInput() override;
    void setSThreshold(int bytes) override;
    void setRThreshold(int bytes) override;
    void write(const QByteArray& bytes) override;
    QByteArray readAll() override;
    bool waitForReadyRead(int msecs) override;

    // The device of the latest opening, or the one to be opened next.
    QString deviceName() const { return m_port.portName(); }

private:
    void onError(QSerialPort::SerialPortError error);
    void requireOpen(const char* what) const;
    void keepReadNotifierOff();

    // A child, so that its notifiers can be looked at from outside.
    QSerialPort m_port{this};
    ComPortNamer m_namer;
    PortSearch::PresentPorts m_present;
    // Set by the search for the box; empty: COM n.
    QString m_device;
    LineSettings m_settings;
    int m_commPort = 1;
    bool m_gaveUp = false;
    // Counts the openings, so that a close meant for a port that has gone
    // cannot close the same port opened again.
    int m_openings = 0;
};

#pragma once

#include "link/SerialLink.h"

#include <QByteArrayList>
#include <deque>

// A serial port that plays back what a test tells it to and remembers what
// was written to it.
class ScriptedPort : public SerialLink {
public:
    bool openFails = false;
    bool failWrites = false;
    bool isOpenNow = false;
    int commPort = 0;
    QString settings;
    // One entry per write call, in order.
    QByteArrayList written;
    // What successive readAll calls return; empty once used up.
    std::deque<QByteArray> reads;
    // What arrives during successive waits; a wait with none left times out.
    std::deque<QByteArray> late;
    int waits = 0;
    int opens = 0;
    int closes = 0;

    void setCommPort(int n) override {
        requireClosed();
        commPort = n;
    }
    void setSettings(const QString& s) override { settings = s; }
    void open() override {
        ++opens;
        if (openFails)
            throw LinkError("no such port");
        isOpenNow = true;
    }
    bool isOpen() const override { return isOpenNow; }
    void close() override {
        ++closes;
        isOpenNow = false;
    }
    // The adapter is pulled out: the port closes by itself and says so.
    void goAway() {
        isOpenNow = false;
        reportGone();
    }
    // An error that need not mean the port has gone, as the port reports it.
    void fault() { reportFault(); }
    void setBinaryInput() override {}
    void setSThreshold(int) override {}
    void setRThreshold(int) override {}
    void write(const QByteArray& bytes) override {
        requireOpen();
        if (failWrites)
            throw LinkError("write failed");
        written << bytes;
    }
    QByteArray readAll() override {
        requireOpen();
        if (reads.empty())
            return {};
        QByteArray next = reads.front();
        reads.pop_front();
        return next;
    }
    bool waitForReadyRead(int) override {
        requireOpen();
        ++waits;
        if (late.empty())
            return false;
        reads.push_back(late.front());
        late.pop_front();
        return true;
    }

    QByteArray allWritten() const { return written.join(); }

private:
    void requireOpen() const {
        if (!isOpenNow)
            throw LinkError("port is not open");
    }
    void requireClosed() const {
        if (isOpenNow)
            throw LinkError("port is open");
    }
};

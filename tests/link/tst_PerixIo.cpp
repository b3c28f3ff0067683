#include "link/PerixIo.h"
#include "sim/SimulatedPort.h"
#include "support/Bytes.h"
#include "support/ManualClock.h"
#include "support/ScriptedPort.h"

#include <QTest>

namespace {

struct IoFixture {
    ProgramValues v;
    ScriptedPort port;
    PerixIo io{v, port};
    IoFixture() { port.isOpenNow = true; }
};

struct SimIoFixture {
    ProgramValues v;
    ManualClock* clock;
    std::unique_ptr<SimulatedPort> port;
    std::unique_ptr<PerixIo> io;
    SimIoFixture() {
        auto owned = std::make_unique<ManualClock>();
        clock = owned.get();
        port = std::make_unique<SimulatedPort>(std::move(owned));
        port->open();
        io = std::make_unique<PerixIo>(v, *port);
    }
};

} // namespace

class TestPerixIo : public QObject {
    Q_OBJECT
private slots:
    void input_data() {
        QTest::addColumn<int>("channel");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<int>("value");
        QTest::newRow("channel 1") << 1 << bytes({0}) << bytes({242}) << 0;
        QTest::newRow("channel 2") << 2 << bytes({200}) << bytes({243}) << 200;
        QTest::newRow("channel 3") << 3 << bytes({255}) << bytes({244}) << 255;
        QTest::newRow("channel 0") << 0 << bytes({9}) << QByteArray() << 0;
        QTest::newRow("channel 4") << 4 << bytes({9}) << QByteArray() << 0;
        QTest::newRow("channel -1") << -1 << bytes({9}) << QByteArray() << 0;
    }
    void input() {
        QFETCH(int, channel);
        QFETCH(QByteArray, reply);
        QFETCH(QByteArray, sent);
        QFETCH(int, value);
        IoFixture f;
        f.v.ChannelNo = std::int16_t(channel);
        f.v.DataValue = 77;
        f.port.late.push_back(reply);
        f.io.PerixInput();
        QCOMPARE(f.port.allWritten(), sent);
        QCOMPARE(int(f.v.DataValue), value);
        QCOMPARE(int(f.v.ChannelNo), channel);
    }

    void output_data() {
        QTest::addColumn<int>("channel");
        QTest::addColumn<int>("given");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<int>("after");
        QTest::newRow("channel 1, 0") << 1 << 0 << bytes({245, 0}) << 0;
        QTest::newRow("channel 2, -5") << 2 << -5 << bytes({246, 0}) << 0;
        QTest::newRow("channel 2, 300") << 2 << 300 << bytes({246, 255}) << 255;
        QTest::newRow("channel 3, 128") << 3 << 128 << bytes({247, 128}) << 128;
        QTest::newRow("channel 0") << 0 << 300 << QByteArray() << 300;
        QTest::newRow("channel 4") << 4 << -5 << QByteArray() << -5;
    }
    void output() {
        QFETCH(int, channel);
        QFETCH(int, given);
        QFETCH(QByteArray, sent);
        QFETCH(int, after);
        IoFixture f;
        f.v.ChannelNo = std::int16_t(channel);
        f.v.DataValue = std::int16_t(given);
        f.io.PerixOutPut();
        QCOMPARE(f.port.allWritten(), sent);
        QCOMPARE(int(f.v.DataValue), after);
        QVERIFY(f.port.reads.empty() && f.port.waits == 0); // a write reads nothing
    }

    // Bytes already waiting answer earlier commands, never this one.
    void stale_bytes_are_not_the_reply_data() {
        QTest::addColumn<QByteArrayList>("waiting");
        QTest::addColumn<QByteArrayList>("arriving");
        QTest::addColumn<int>("value");
        QTest::newRow("waiting before the command")
            << QByteArrayList{bytes({7})} << QByteArrayList{bytes({5})} << 5;
        QTest::newRow("late answer and reply together")
            << QByteArrayList{} << QByteArrayList{bytes({7, 5})} << 5;
        QTest::newRow("only a stale byte: no reply")
            << QByteArrayList{bytes({7, 7})} << QByteArrayList{} << -1;
    }
    void stale_bytes_are_not_the_reply() {
        QFETCH(QByteArrayList, waiting);
        QFETCH(QByteArrayList, arriving);
        QFETCH(int, value);
        IoFixture f;
        f.v.ChannelNo = 2;
        f.v.DataValue = 77;
        for (const QByteArray& b : waiting)
            f.port.reads.push_back(b);
        for (const QByteArray& b : arriving)
            f.port.late.push_back(b);
        if (value < 0) {
            QVERIFY_THROWS_EXCEPTION(NoReplyError, f.io.PerixInput());
            QCOMPARE(f.v.DataValue, 77);
        } else {
            f.io.PerixInput();
            QCOMPARE(int(f.v.DataValue), value);
        }
    }

    void missing_reply_goes_to_the_caller_and_changes_nothing() {
        IoFixture f;
        f.v.ChannelNo = 1;
        f.v.DataValue = 77;
        QVERIFY_THROWS_EXCEPTION(NoReplyError, f.io.PerixInput());
        QCOMPARE(f.port.allWritten(), bytes({242}));
        QCOMPARE(f.v.DataValue, 77);

        f.v.DigitalBitNo = 0;
        f.v.DigitalBit = 1;
        QVERIFY_THROWS_EXCEPTION(NoReplyError, f.io.PerixDigInput());
        QCOMPARE(f.v.DigitalBit, 1);
        QCOMPARE(f.v.DataValue, 77);
    }

    void digital_input_data() {
        QTest::addColumn<int>("bitNo");
        QTest::addColumn<int>("inputs");
        QTest::addColumn<int>("bit");
        QTest::newRow("5, bit 0") << 0 << 5 << 1;
        QTest::newRow("5, bit 1") << 1 << 5 << 0;
        QTest::newRow("5, bit 2") << 2 << 5 << 1;
        QTest::newRow("128, bit 7") << 7 << 128 << 1;
        QTest::newRow("127, bit 7") << 7 << 127 << 0;
    }
    void digital_input() {
        QFETCH(int, bitNo);
        QFETCH(int, inputs);
        QFETCH(int, bit);
        IoFixture f;
        f.v.ChannelNo = 1;
        f.v.DigitalBitNo = std::int16_t(bitNo);
        f.v.DigitalBit = std::int16_t(1 - bit);
        f.port.late.push_back(bytes({inputs}));
        f.io.PerixDigInput();
        QCOMPARE(f.port.allWritten(), bytes({244}));
        QCOMPARE(int(f.v.DigitalBit), bit);
        QCOMPARE(int(f.v.DataValue), inputs);
        QCOMPARE(f.v.ChannelNo, 3);
    }

    void bit_numbers_out_of_range_data() {
        QTest::addColumn<int>("bitNo");
        QTest::newRow("8") << 8;
        QTest::newRow("-1") << -1;
    }
    void bit_numbers_out_of_range() {
        QFETCH(int, bitNo);
        IoFixture f;
        f.v.DigitalBitNo = std::int16_t(bitNo);
        f.v.ChannelNo = 2;
        f.v.DataValue = 77;
        f.v.DigitalShadow = 12;
        f.v.DigitalBit = 1;
        f.port.late.push_back(bytes({255}));

        f.io.PerixDigOutput();
        QVERIFY(f.port.written.isEmpty());
        QCOMPARE(f.v.DigitalShadow, 12);
        QCOMPARE(f.v.DigitalBit, 1);
        QCOMPARE(f.v.ChannelNo, 2);
        QCOMPARE(f.v.DataValue, 77);

        f.io.PerixDigInput();
        QVERIFY(f.port.written.isEmpty());
        QCOMPARE(f.v.DigitalBit, 0);
        QCOMPARE(f.v.ChannelNo, 2);
        QCOMPARE(f.v.DataValue, 77);
    }

    void outputs_keep_each_others_state() {
        IoFixture f;
        struct Step {
            int bitNo, on, byte;
        };
        for (const Step s : {Step{3, 1, 8}, Step{0, 1, 9}, Step{3, 0, 1}}) {
            f.port.written.clear();
            f.v.DigitalBitNo = std::int16_t(s.bitNo);
            f.v.DigitalBit = std::int16_t(s.on);
            f.io.PerixDigOutput();
            QCOMPARE(f.port.allWritten(), bytes({247, s.byte}));
        }
        QCOMPARE(f.v.DigitalShadow, 1);
        QCOMPARE(f.v.DataValue, 1);
        QCOMPARE(f.v.ChannelNo, 3);
    }

    void failed_digital_write_keeps_the_record_of_the_outputs() {
        IoFixture f;
        f.v.DigitalShadow = 9;
        f.v.DigitalBitNo = 7;
        f.v.DigitalBit = 1;
        f.port.failWrites = true;
        QVERIFY_THROWS_EXCEPTION(LinkError, f.io.PerixDigOutput());
        QCOMPARE(f.v.DigitalShadow, 9);
        f.port.failWrites = false;
        f.v.DigitalBitNo = 1;
        f.io.PerixDigOutput();
        QCOMPARE(f.port.allWritten(), bytes({247, 11}));
    }

    // The routines against the simulated box with its line delays.
    void simulated_box_channels_2_and_3() {
        SimIoFixture f;
        f.v.ChannelNo = 2;
        f.v.DataValue = 255; // a value byte the box must not take for the probe
        f.io->PerixOutPut();
        f.v.ChannelNo = 1;
        f.v.DataValue = 9; // channel 1's output is not channel 2's store
        f.io->PerixOutPut();
        f.v.ChannelNo = 2;
        f.v.DataValue = 0;
        f.io->PerixInput();
        QCOMPARE(f.v.DataValue, 255);
        QCOMPARE(f.port->box().analog1Written(), 9);

        f.port->box().setDigitalInputs(5);
        const int expected[] = {1, 0, 1};
        for (int bitNo = 0; bitNo < 3; ++bitNo) {
            f.v.DigitalBitNo = std::int16_t(bitNo);
            f.io->PerixDigInput();
            QCOMPARE(int(f.v.DigitalBit), expected[bitNo]);
        }

        for (const auto& [bitNo, on] : {std::pair{3, 1}, {0, 1}, {3, 0}}) {
            f.v.DigitalBitNo = std::int16_t(bitNo);
            f.v.DigitalBit = std::int16_t(on);
            f.io->PerixDigOutput();
        }
        f.clock->advanceMs(10); // let the last bytes reach the box
        f.port->readAll();
        using W = PerixBoxModel::Write;
        QCOMPARE(f.port->box().takeWrites(),
                 QList<W>({W{2, 255}, W{1, 9}, W{3, 8}, W{3, 9}, W{3, 1}}));
        QCOMPARE(f.port->box().digitalOutputs(), 1);
    }

    void simulated_box_sampling_answer_is_not_taken_for_the_reply() {
        SimIoFixture f;
        f.port->box().setAnalog2(17);
        f.port->writeByte(242); // a sampling tick's request, answered ~200
        f.clock->advanceMs(10);
        f.v.ChannelNo = 2;
        f.io->PerixInput();
        QCOMPARE(f.v.DataValue, 17);
    }
};

QTEST_MAIN(TestPerixIo)
#include "tst_PerixIo.moc"

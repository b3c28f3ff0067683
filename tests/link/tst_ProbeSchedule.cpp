#include "link/ProbeSchedule.h"

#include <QMap>
#include <QTest>

namespace {

using Outcome = ProbeSchedule::Outcome;

constexpr qint64 RoundMs = 1000;
// How long each probe of a port marked slow takes; the owner calls it slow
// once the probe's wait has gone by, at the next round.
constexpr qint64 SlowProbeMs = 4000;

// "COM8|BTHENUM|BTHMODEM", "/dev/tolvane/a>/dev/ttyACM0"
PortSearch::PresentPort portOf(const QString& described) {
    const QStringList facts = described.split(QLatin1Char('|'));
    const QStringList names = facts.at(0).split(QLatin1Char('>'));
    return {names.at(0), names.value(1), facts.value(1), facts.value(2)};
}

// What one device answers over time: "COM7 box@0 silent@5 slow".
struct Answers {
    QMap<qint64, Outcome> from; // outcome from this time on
    bool slow = false;
    Outcome at(qint64 ms) const {
        Outcome outcome = Outcome::Silent;
        for (auto it = from.begin(); it != from.end() && it.key() <= ms; ++it)
            outcome = it.value();
        return outcome;
    }
};

QHash<QString, Answers> answersOf(const QStringList& described) {
    static const QHash<QString, Outcome> words{{"box", Outcome::Box},
                                               {"silent", Outcome::Silent},
                                               {"other", Outcome::Other},
                                               {"closed", Outcome::WouldNotOpen}};
    QHash<QString, Answers> answers;
    for (const QString& device : described) {
        QStringList words_ = device.split(QLatin1Char(' '));
        Answers& a = answers[words_.takeFirst()];
        for (const QString& word : words_) {
            if (word == QLatin1String("slow")) {
                a.slow = true;
                continue;
            }
            const QStringList parts = word.split(QLatin1Char('@'));
            a.from.insert(parts.at(1).toLongLong() * 1000, words.value(parts.at(0)));
        }
    }
    return answers;
}

QString whyOf(ProbeSchedule::Skip why) {
    switch (why) {
    case ProbeSchedule::Skip::CannotBeBox:
        return QStringLiteral("cannot");
    case ProbeSchedule::Skip::AnsweredOther:
        return QStringLiteral("other");
    case ProbeSchedule::Skip::Resting:
        return QStringLiteral("resting");
    case ProbeSchedule::Skip::StillProbing:
        return QStringLiteral("probing");
    }
    return {};
}

} // namespace

// Which ports are probed when, over rounds a second apart.
class TestProbeSchedule : public QObject {
    Q_OBJECT
private slots:
    void rounds_data() {
        QTest::addColumn<Platform>("platform");
        QTest::addColumn<QString>("named");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("answers"); // unlisted devices stay silent
        QTest::addColumn<QStringList>("events");  // "5 gone COM3", "8 back COM3"
        QTest::addColumn<int>("runForS");
        // Every round that probed anything: "t: devices in order".
        QTest::addColumn<QStringList>("probes");
        // The ports left alone in the rounds named: "t: device why, ...".
        QTest::addColumn<QStringList>("leftAlone");
        const Platform win = Platform::Windows;
        const Platform unix = Platform::Unix;
        const QStringList none;
        const QStringList school{"COM1|ACPI|Serial", "COM3|USB|usbser", "COM7|FTDIBUS|FTSER2K",
                                 "COM8|BTHENUM|BTHMODEM"};

        QTest::newRow("Windows: Bluetooth link and CDC device left alone")
            << win << "COM1" << school << none << none << 0 << QStringList{"0: COM1 COM7"}
            << QStringList{"0: COM3 cannot, COM8 cannot"};
        QTest::newRow("Windows: a named Bluetooth link is probed, every round")
            << win << "COM8" << school << none << none << 2
            << QStringList{"0: COM8 COM1 COM7", "1: COM8", "2: COM8 COM1 COM7"}
            << QStringList{"0: COM3 cannot", "1: COM1 resting, COM3 cannot, COM7 resting"};
        QTest::newRow("Windows: the named port absent is still probed")
            << win << "COM2" << QStringList{"COM5|USB|Ser2pl"} << none << none << 1
            << QStringList{"0: COM2 COM5", "1: COM2"} << none;
        QTest::newRow("Linux: ttyACM left alone, also behind an adapter's link")
            << unix << QString()
            << QStringList{"/dev/tolvane/a>/dev/ttyACM0", "/dev/ttyACM0", "/dev/ttyUSB0",
                           "/dev/ttyS0"}
            << none << none << 0 << QStringList{"0: /dev/ttyUSB0 /dev/ttyS0"}
            << QStringList{"0: /dev/tolvane/a cannot"};
        QTest::newRow("Linux: a named ttyACM is probed")
            << unix << "/dev/ttyACM0" << QStringList{"/dev/ttyACM0", "/dev/ttyUSB0"} << none << none
            << 0 << QStringList{"0: /dev/ttyACM0 /dev/ttyUSB0"} << none;
        QTest::newRow("silent: again after 2, 4, 8, 16, 30, 30 s")
            << win << QString() << QStringList{"COM3"} << none << none << 90
            << QStringList{"0: COM3",  "2: COM3",  "6: COM3", "14: COM3",
                           "30: COM3", "60: COM3", "90: COM3"}
            << QStringList{"1: COM3 resting"};
        QTest::newRow("would not open: rests as a silent one does")
            << win << QString() << QStringList{"COM3"} << QStringList{"COM3 closed@0"} << none << 14
            << QStringList{"0: COM3", "2: COM3", "6: COM3", "14: COM3"} << none;
        QTest::newRow("silent, gone and back: new again")
            << win << QString() << QStringList{"COM3"} << none
            << QStringList{"3 gone COM3", "4 back COM3"} << 10
            << QStringList{"0: COM3", "2: COM3", "4: COM3", "6: COM3", "10: COM3"} << none;
        QTest::newRow("answered something else: left alone until gone and back")
            << win << QString() << QStringList{"COM3", "COM4"} << QStringList{"COM3 other@0"}
            << QStringList{"40 gone COM3", "41 back COM3"} << 42
            << QStringList{"0: COM3 COM4", "2: COM4", "6: COM4", "14: COM4", "30: COM4", "41: COM3"}
            << QStringList{"1: COM3 other, COM4 resting", "40: COM4 resting"};
        QTest::newRow("named and where the box last answered: every round")
            << win << "COM1" << QStringList{"COM3", "COM7"} << QStringList{"COM7 box@0 silent@1"}
            << none << 3
            << QStringList{"0: COM1 COM3 COM7", "1: COM1 COM7", "2: COM1 COM7 COM3", "3: COM1 COM7"}
            << none;
        QTest::newRow("the last answered follows the box")
            << win << QString() << QStringList{"COM3", "COM7"}
            << QStringList{"COM7 box@0 silent@1", "COM3 box@1"} << none << 6
            << QStringList{"0: COM3 COM7", "1: COM7", "2: COM7 COM3", "3: COM3",
                           "4: COM3",      "5: COM3", "6: COM3 COM7"}
            << none;
        QTest::newRow("a box switched on late on a silent port")
            << win << QString() << QStringList{"COM3"} << QStringList{"COM3 box@20"} << none << 32
            << QStringList{"0: COM3",  "2: COM3",  "6: COM3", "14: COM3",
                           "30: COM3", "31: COM3", "32: COM3"}
            << none;
        QTest::newRow("slow to open: last, and not while its probe runs")
            << win << QString() << QStringList{"COM2", "COM3", "COM4"}
            << QStringList{"COM2 silent@0 slow"} << none << 6
            << QStringList{"0: COM2 COM3 COM4", "2: COM3 COM4", "6: COM3 COM4 COM2"}
            << QStringList{"2: COM2 probing", "4: COM2 resting, COM3 resting, COM4 resting"};
        QTest::newRow("slow named port: probed last, not twice at once")
            << win << "COM1" << QStringList{"COM1", "COM3"} << QStringList{"COM1 silent@0 slow"}
            << none << 4 << QStringList{"0: COM1 COM3", "2: COM3", "4: COM1"}
            << QStringList{"1: COM1 probing, COM3 resting"};
        QTest::newRow("slow port gone while probing: new when back")
            << win << QString() << QStringList{"COM2"} << QStringList{"COM2 other@0 slow"}
            << QStringList{"1 gone COM2", "2 back COM2"} << 5 << QStringList{"0: COM2", "4: COM2"}
            << QStringList{"2: COM2 probing"};
    }

    void rounds() {
        QFETCH(Platform, platform);
        QFETCH(QString, named);
        QFETCH(QStringList, present);
        QFETCH(QStringList, answers);
        QFETCH(QStringList, events);
        QFETCH(int, runForS);
        QFETCH(QStringList, probes);
        QFETCH(QStringList, leftAlone);

        const QHash<QString, Answers> script = answersOf(answers);
        QList<PortSearch::PresentPort> ports;
        for (const QString& port : present)
            ports.append(portOf(port));
        const QList<PortSearch::PresentPort> all = ports;

        ProbeSchedule schedule(platform);
        QMap<QString, qint64> running; // device: when its probe ends
        QStringList seen;
        QStringList seenLeftAlone;
        for (qint64 now = 0; now <= runForS * 1000; now += RoundMs) {
            for (const QString& event : events) {
                const QStringList e = event.split(QLatin1Char(' '));
                if (e.at(0).toLongLong() * 1000 != now)
                    continue;
                if (e.at(1) == QLatin1String("gone"))
                    ports.removeIf([&](const auto& p) { return p.device == e.at(2); });
                else
                    ports.append(*std::find_if(all.begin(), all.end(),
                                               [&](const auto& p) { return p.device == e.at(2); }));
            }
            for (auto it = running.begin(); it != running.end();) {
                if (it.value() <= now) {
                    schedule.probed(it.key(), script.value(it.key()).at(it.value()), now);
                    it = running.erase(it);
                } else {
                    schedule.probed(it.key(), Outcome::Slow, now);
                    ++it;
                }
            }

            const ProbeSchedule::Round round = schedule.round(named, ports, now);
            if (!round.probe.isEmpty())
                seen << QStringLiteral("%1: %2").arg(now / 1000).arg(round.probe.join(' '));
            QStringList skipped;
            for (const ProbeSchedule::Skipped& s : round.leftAlone)
                skipped << s.device + QLatin1Char(' ') + whyOf(s.why);
            if (!skipped.isEmpty())
                seenLeftAlone << QStringLiteral("%1: %2").arg(now / 1000).arg(skipped.join(", "));

            for (const QString& device : round.probe) {
                schedule.started(device, now);
                if (script.value(device).slow)
                    running.insert(device, now + SlowProbeMs);
                else
                    schedule.probed(device, script.value(device).at(now), now);
            }
        }

        QCOMPARE(seen, probes);
        for (const QString& wanted : leftAlone) {
            const QString at = wanted.section(QLatin1Char(':'), 0, 0) + QLatin1Char(':');
            const auto it = std::find_if(seenLeftAlone.begin(), seenLeftAlone.end(),
                                         [&](const QString& s) { return s.startsWith(at + ' '); });
            QCOMPARE(it == seenLeftAlone.end() ? at + QStringLiteral(" (none)") : *it, wanted);
        }
    }
};

QTEST_MAIN(TestProbeSchedule)
#include "tst_ProbeSchedule.moc"

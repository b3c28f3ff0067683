#include "PassageRecord.h"

#include "SecondsText.h"

#include <QFileDevice>

namespace {

const QByteArray LineEnd = "\r\n";

QByteArray isoTime(const QDateTime& t) {
    return t.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss.zzz")).toLatin1();
}

} // namespace

std::unique_ptr<PassageRecord> PassageRecord::begin(const RecordPlace& place,
                                                    TenthClock::Now monotonic) {
    std::unique_ptr<QIODevice> file = place.createFile(place.wallNow());
    if (!file)
        return nullptr;
    auto record =
        std::make_unique<PassageRecord>(std::move(file), std::move(monotonic), place.wallNow);
    if (!record->start())
        return nullptr;
    return record;
}

PassageRecord::PassageRecord(std::unique_ptr<QIODevice> out, TenthClock::Now monotonic,
                             RecordPlace::WallNow wallNow)
    : m_out(std::move(out)), m_monotonic(std::move(monotonic)), m_wallNow(std::move(wallNow)) {}

bool PassageRecord::start() {
    takeWallTime();
    return writeLine(Header);
}

// The times follow the monotonic clock, so that they agree with the
// intervals even when the computer's clock is set meanwhile. From a passage
// that ends no interval (the first after a gap) they start again from the wall
// clock: a computer that slept may have lost the box, and its monotonic clock
// may not have counted the sleep.
void PassageRecord::takeWallTime() {
    m_wallAt = m_wallNow();
    m_monotonicAt = m_monotonic();
}

void PassageRecord::passage(std::chrono::nanoseconds seenAt, std::optional<int> shownTenths) {
    if (!m_out)
        return;
    ++m_passages;
    const auto interval = m_intervals.passage(seenAt, shownTenths);
    if (!interval)
        takeWallTime();
    const auto sinceWallTime =
        std::chrono::round<std::chrono::milliseconds>(seenAt - m_monotonicAt);
    QByteArray line = QByteArray::number(m_passages) + ',' +
                      isoTime(m_wallAt.addMSecs(sinceWallTime.count())) + ',';
    if (interval)
        line += SecondsText::thousandths(SecondsText::millis(*interval)).toLatin1();
    line += ',';
    if (shownTenths)
        line += SecondsText::shown(*shownTenths).toLatin1();
    writeLine(line);
}

void PassageRecord::gap() {
    m_intervals.gap();
}

bool PassageRecord::writeLine(const QByteArray& line) {
    const QByteArray bytes = line + LineEnd;
    auto* file = qobject_cast<QFileDevice*>(m_out.get());
    const bool written = m_out->write(bytes) == bytes.size() && (!file || file->flush());
    if (!written)
        m_out.reset();
    return written;
}

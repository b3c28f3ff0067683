#include "LineSplitter.h"

#include <algorithm>

namespace {

constexpr char ByteOrderMark[] = "\xEF\xBB\xBF";
constexpr int ByteOrderMarkLength = 3;

bool endsLine(char c) {
    return c == '\r' || c == '\n';
}

} // namespace

LineSplitter::LineSplitter(qsizetype keptLength, LineHandler onLine)
    : m_keptLength(keptLength), m_onLine(std::move(onLine)) {}

bool LineSplitter::feed(QByteArrayView bytes) {
    if (m_stopped)
        return false;
    bytes = dropByteOrderMark(bytes);
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        const char c = bytes[pos];
        if (endsLine(c)) {
            ++pos;
            const bool secondHalfOfCrLf = c == '\n' && m_afterCr;
            m_afterCr = c == '\r';
            if (!secondHalfOfCrLf && !endLine())
                return false;
            continue;
        }
        m_afterCr = false;
        qsizetype end = pos + 1;
        while (end < bytes.size() && !endsLine(bytes[end]))
            ++end;
        addContent(bytes.sliced(pos, end - pos));
        pos = end;
    }
    return true;
}

bool LineSplitter::finish() {
    if (m_stopped)
        return false;
    if (m_markMatched > 0) // the file was only the start of a mark
        addContent(QByteArrayView(ByteOrderMark, m_markMatched));
    m_markMatched = MarkDecided;
    if (m_inLine)
        return endLine();
    return true;
}

// The mark may arrive split over several pieces; bytes that turn out not to
// be one are line content after all.
QByteArrayView LineSplitter::dropByteOrderMark(QByteArrayView bytes) {
    while (m_markMatched != MarkDecided && !bytes.isEmpty()) {
        if (bytes.front() == ByteOrderMark[m_markMatched]) {
            bytes = bytes.sliced(1);
            if (++m_markMatched == ByteOrderMarkLength)
                m_markMatched = MarkDecided;
        } else {
            addContent(QByteArrayView(ByteOrderMark, m_markMatched));
            m_markMatched = MarkDecided;
        }
    }
    return bytes;
}

void LineSplitter::addContent(QByteArrayView bytes) {
    if (bytes.isEmpty())
        return;
    m_inLine = true;
    if (m_stripping) {
        qsizetype spaces = 0;
        while (spaces < bytes.size() && bytes[spaces] == ' ')
            ++spaces;
        bytes = bytes.sliced(spaces);
        if (bytes.isEmpty())
            return;
        m_stripping = false;
    }
    const qsizetype room = m_keptLength - m_kept.size();
    if (room > 0)
        m_kept.append(bytes.first(std::min(room, bytes.size())));
}

bool LineSplitter::endLine() {
    const bool goOn = m_onLine(m_kept);
    m_kept.resize(0); // keeps the capacity for the next line
    m_inLine = false;
    m_stripping = true;
    if (!goOn)
        m_stopped = true;
    return goOn;
}

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <functional>

// Splits the customization file into lines while it is read in pieces of any
// size. A line ends with CR LF, with CR alone or with LF alone (files edited on
// Linux). Each line reaches the handler without its leading spaces and cut to
// its first `keptLength` bytes, so memory stays bounded however long a line is
// and every byte is looked at once. A UTF-8 byte-order mark opening the file
// is dropped, so the first line can hold a setting too.
class LineSplitter {
public:
    // Gets each line in file order; returning false stops the splitting.
    using LineHandler = std::function<bool(QByteArrayView line)>;

    LineSplitter(qsizetype keptLength, LineHandler onLine);

    // Takes the next piece of the file. False once the handler has said stop.
    bool feed(QByteArrayView bytes);
    // The file has ended: hands on its last line if that had no line end.
    bool finish();

private:
    QByteArrayView dropByteOrderMark(QByteArrayView bytes);
    void addContent(QByteArrayView bytes);
    bool endLine();

    static constexpr int MarkDecided = -1;

    qsizetype m_keptLength;
    LineHandler m_onLine;
    QByteArray m_kept;
    bool m_inLine = false;   // some byte of the current line has been seen
    bool m_stripping = true; // only spaces so far in the current line
    bool m_afterCr = false;  // an LF now completes a CR LF
    bool m_stopped = false;
    int m_markMatched = 0; // bytes of the byte-order mark seen at the start
};

#pragma once

#include <QDateTime>
#include <QIODevice>
#include <QString>
#include <functional>
#include <memory>

// Where a run's record goes, and the clock its times are read from. Tests put
// a folder of their own, a clock that stands still or a device that fails in
// place of the user's documents folder and the computer's clock.
struct RecordPlace {
    using WallNow = std::function<QDateTime()>;
    using CreateFile = std::function<std::unique_ptr<QIODevice>(const QDateTime& start)>;

    // Makes the record's file, open for writing, for a run started at the given
    // local time; nothing when it cannot be made.
    CreateFile createFile;
    // The local wall clock.
    WallNow wallNow;
    // The folder the files go in, as the user is told it; empty when not known.
    QString folder{};

    // The folder "Tolvane" in `documentsFolder`, one file per run; the
    // computer's clock unless another is given.
    static RecordPlace inDocuments(const QString& documentsFolder, WallNow wallNow = {});
    // The user's documents folder ("ドキュメント" on a Japanese Windows).
    static RecordPlace standard();
};

namespace RecordFile {

inline QString folderName() {
    return QStringLiteral("Tolvane");
}

// "tolvane-YYYYMMDD-HHMMSS.csv" for the local start time; a second run
// started within the same second gets "-2", "-3", ... after the time.
QString fileName(const QDateTime& start, int runInSecond = 1);

// Runs that can start within one second and each get a file of their own.
inline constexpr int MostRunsInSecond = 9;

// Makes the folder "Tolvane" in the documents folder when it is missing, then
// a new file in it, never one that is there already. The file is unbuffered:
// each write goes straight to the system. Nothing when the documents folder is
// not there or either cannot be made.
std::unique_ptr<QIODevice> create(const QString& documentsFolder, const QDateTime& start);

} // namespace RecordFile

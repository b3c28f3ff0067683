#include "RecordFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

RecordPlace RecordPlace::inDocuments(const QString& documentsFolder, WallNow wallNow) {
    if (!wallNow)
        wallNow = [] { return QDateTime::currentDateTime(); };
    const QString folder =
        documentsFolder.isEmpty()
            ? QString()
            : QDir::toNativeSeparators(QDir(documentsFolder).filePath(RecordFile::folderName()));
    return {[documentsFolder](const QDateTime& start) {
                return RecordFile::create(documentsFolder, start);
            },
            std::move(wallNow), folder};
}

RecordPlace RecordPlace::standard() {
    return inDocuments(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}

namespace RecordFile {

QString fileName(const QDateTime& start, int runInSecond) {
    QString name = QStringLiteral("tolvane-") + start.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (runInSecond > 1)
        name += QStringLiteral("-%1").arg(runInSecond);
    return name + QStringLiteral(".csv");
}

std::unique_ptr<QIODevice> create(const QString& documentsFolder, const QDateTime& start) {
    // An empty name would be the working folder; a documents folder that is
    // not there is not made up either.
    if (documentsFolder.isEmpty() || !QFileInfo(documentsFolder).isDir())
        return nullptr;
    QDir documents(documentsFolder);
    if (!documents.exists(folderName()))
        documents.mkdir(folderName());
    const QDir folder(documents.filePath(folderName()));
    if (!QFileInfo(folder.path()).isDir())
        return nullptr;
    for (int run = 1; run <= MostRunsInSecond; ++run) {
        auto file = std::make_unique<QFile>(folder.filePath(fileName(start, run)));
        if (file->open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
            return file;
        // Only a name taken already is worth another try.
        if (!QFileInfo::exists(file->fileName()))
            return nullptr;
    }
    return nullptr;
}

} // namespace RecordFile

#include "record/RecordFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <optional>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#endif

namespace {

const QDateTime lessonStart{QDate(2026, 12, 7), QTime(14, 5, 3, 120)};

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden |
                                  QDir::System);
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Takes the right to write into a folder away for as long as it lives. Root
// writes whatever the permission bits say; where the file system allows,
// the immutable flag stops root too.
class UnwritableFolder {
public:
    explicit UnwritableFolder(const QString& path) : m_path(path) {
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
#ifdef Q_OS_UNIX
        if (::access(qPrintable(path), W_OK) == 0)
            m_immutable = setImmutable(true);
        m_unwritable = ::access(qPrintable(path), W_OK) != 0;
#endif
    }
    ~UnwritableFolder() {
        if (m_immutable)
            setImmutable(false);
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    UnwritableFolder(const UnwritableFolder&) = delete;
    UnwritableFolder& operator=(const UnwritableFolder&) = delete;

    bool unwritable() const {
        return m_unwritable;
    }

private:
    bool setImmutable(bool on) {
#ifdef Q_OS_LINUX
        const int fd = ::open(qPrintable(m_path), O_RDONLY | O_DIRECTORY);
        if (fd < 0)
            return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (done) {
            flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
            done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return done;
#else
        Q_UNUSED(on);
        return false;
#endif
    }

    QString m_path;
    bool m_immutable = false;
    bool m_unwritable = false;
};

} // namespace

class TestRecordFile : public QObject {
    Q_OBJECT
private slots:
    // The folder is made when it is missing; what is in it already stays.
    void makes_the_folder_and_a_new_file_data() {
        QTest::addColumn<QStringList>("before"); // files in the Tolvane folder; none: no folder
        QTest::addColumn<QString>("made");
        QTest::newRow("no folder yet") << QStringList() << "tolvane-20261207-140503.csv";
        QTest::newRow("folder with other runs")
            << QStringList{"tolvane-20261207-091500.csv", "notes.txt"}
            << "tolvane-20261207-140503.csv";
        QTest::newRow("a run in the same second")
            << QStringList{"tolvane-20261207-140503.csv"} << "tolvane-20261207-140503-2.csv";
        QTest::newRow("two runs in the same second")
            << QStringList{"tolvane-20261207-140503.csv", "tolvane-20261207-140503-2.csv"}
            << "tolvane-20261207-140503-3.csv";
    }
    void makes_the_folder_and_a_new_file() {
        QFETCH(QStringList, before);
        QFETCH(QString, made);
        QTemporaryDir documents;
        QVERIFY(documents.isValid());
        const QString folder = documents.filePath(QStringLiteral("Tolvane"));
        if (!before.isEmpty()) {
            QVERIFY(QDir().mkdir(folder));
            for (const QString& name : before)
                QVERIFY(writeFile(folder + '/' + name, name.toUtf8()));
        }

        const auto file = RecordFile::create(documents.path(), lessonStart);
        QVERIFY(file);
        QVERIFY(file->isWritable());
        QCOMPARE(file->write("x\r\n"), qint64(3));
        QCOMPARE(entries(documents.path()), QStringList{"Tolvane"});
        QStringList all = before + QStringList{made};
        all.sort();
        QCOMPARE(entries(folder), all);
        // The other runs' files are as they were.
        for (const QString& name : before) {
            QFile f(folder + '/' + name);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), name.toUtf8());
        }
        QFile mine(folder + '/' + made);
        QVERIFY(mine.open(QIODevice::ReadOnly));
        QCOMPARE(mine.readAll(), QByteArray("x\r\n"));
    }

    void no_file_once_every_name_of_the_second_is_taken() {
        QTemporaryDir documents;
        QVERIFY(documents.isValid());
        const QString folder = documents.filePath(QStringLiteral("Tolvane"));
        QVERIFY(QDir().mkdir(folder));
        for (int run = 1; run <= RecordFile::MostRunsInSecond; ++run)
            QVERIFY(writeFile(folder + '/' + RecordFile::fileName(lessonStart, run), "taken"));
        QVERIFY(!RecordFile::create(documents.path(), lessonStart));
        QCOMPARE(entries(folder).size(), RecordFile::MostRunsInSecond);
        // A second later the name is free again.
        QVERIFY(RecordFile::create(documents.path(), lessonStart.addSecs(1)));
    }

    // Nothing is made anywhere when the record cannot go where it belongs.
    void no_file_where_none_can_be_made_data() {
        QTest::addColumn<QString>("setUp");
        QTest::newRow("no documents folder") << "missing";
        QTest::newRow("no name for the documents folder") << "empty";
        QTest::newRow("documents is a file") << "documents file";
        QTest::newRow("Tolvane is a file") << "Tolvane file";
        QTest::newRow("Tolvane links nowhere") << "Tolvane dangling";
        QTest::newRow("the file's name links nowhere") << "file dangling";
        QTest::newRow("documents folder read-only") << "documents read-only";
        QTest::newRow("Tolvane folder read-only") << "Tolvane read-only";
    }
    void no_file_where_none_can_be_made() {
        QFETCH(QString, setUp);
        QTemporaryDir home;
        QVERIFY(home.isValid());
        QString documents = home.filePath(QStringLiteral("Documents"));
        const QString tolvane = documents + QStringLiteral("/Tolvane");
        const QString fileName = tolvane + '/' + RecordFile::fileName(lessonStart);
        const QString previousWorkingFolder = QDir::currentPath();
        std::optional<UnwritableFolder> readOnly;
#ifndef Q_OS_UNIX
        if (setUp.contains(QLatin1String("dangling")) || setUp.contains(QLatin1String("read-only")))
            QSKIP("made the Unix way: symbolic links, permission bits");
#endif
        if (setUp != QLatin1String("missing") && setUp != QLatin1String("documents file"))
            QVERIFY(QDir().mkdir(documents));
        if (setUp == QLatin1String("empty")) {
            // Not the working folder instead.
            QVERIFY(QDir::setCurrent(home.path()));
            documents.clear();
        } else if (setUp == QLatin1String("documents file")) {
            QVERIFY(writeFile(documents, "a file"));
        } else if (setUp == QLatin1String("Tolvane file")) {
            QVERIFY(writeFile(tolvane, "a file"));
        } else if (setUp == QLatin1String("Tolvane dangling")) {
            QVERIFY(QFile::link(home.filePath(QStringLiteral("gone")), tolvane));
        } else if (setUp == QLatin1String("file dangling")) {
            QVERIFY(QDir().mkdir(tolvane));
            QVERIFY(QFile::link(home.filePath(QStringLiteral("gone")), fileName));
        } else if (setUp.endsWith(QLatin1String("read-only"))) {
            const bool inner = setUp.startsWith(QLatin1String("Tolvane"));
            if (inner)
                QVERIFY(QDir().mkdir(tolvane));
            readOnly.emplace(inner ? tolvane : documents);
            if (!readOnly->unwritable())
                QSKIP("this user writes into read-only folders (root, and no immutable flag here)");
        }

        const QStringList before = entries(home.path());
        const QStringList inFolderBefore = entries(tolvane);
        const bool made = bool(RecordFile::create(documents, lessonStart));
        QDir::setCurrent(previousWorkingFolder);
        QVERIFY(!made);
        QCOMPARE(entries(home.path()), before);
        QCOMPARE(entries(tolvane), inFolderBefore);
        QVERIFY(!QFileInfo(fileName).isFile());
    }
};

QTEST_MAIN(TestRecordFile)
#include "tst_RecordFile.moc"

#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// Makes a fresh empty folder the working directory for the lifetime of the
// object, and goes back to the earlier one afterwards.
class TempWorkingDir {
public:
    TempWorkingDir() : m_previous(QDir::currentPath()) {
        m_entered = m_dir.isValid() && QDir::setCurrent(m_dir.path());
    }
    ~TempWorkingDir() { QDir::setCurrent(m_previous); }
    TempWorkingDir(const TempWorkingDir&) = delete;
    TempWorkingDir& operator=(const TempWorkingDir&) = delete;

    bool isValid() const { return m_entered; }
    QString path() const { return m_dir.path(); }

    // Writes a file of exactly these bytes into the folder.
    bool write(const QString& name, const QByteArray& bytes) const {
        QFile f(m_dir.filePath(name));
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }

private:
    QString m_previous;
    QTemporaryDir m_dir;
    bool m_entered = false;
};

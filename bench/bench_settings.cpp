// Prints how long reading the customization file takes for large files.
// Run from any folder: it works in a temporary one.

#include "core/ProgramValues.h"
#include "settings/Suuti.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

namespace {

double readMs(const QByteArray& file, int rounds) {
    {
        QFile f(QStringLiteral("Tv.txt"));
        if (!f.open(QIODevice::WriteOnly) || f.write(file) != file.size())
            return -1;
    }
    double best = 1e9;
    for (int i = 0; i < rounds; ++i) {
        ProgramValues v;
        Suuti suuti(v, {[](const QString&) {}, {}});
        QElapsedTimer t;
        t.start();
        suuti.SuutiInit();
        best = std::min(best, t.nsecsElapsed() / 1e6);
    }
    return best;
}

} // namespace

int main() {
    QTemporaryDir dir;
    if (!dir.isValid() || !QDir::setCurrent(dir.path()))
        return 1;

    QByteArray lines;
    while (lines.size() < 10'000'000)
        lines += "' a comment line in the customization file, Kando=30\r\nKando=30\r\n";
    const QByteArray oneLine = QByteArray(10'000'000, ' ') + "Mozi=4" + QByteArray(1000, 'x');
    const QByteArray longValue = "' 10 MB value\r\nPort=" + QByteArray(10'000'000, '7');

    const int rounds = 5;
    std::printf("SuutiInit on Tv.txt, best of %d:\n", rounds);
    std::printf("  %-40s %8.1f ms\n", "10 MB of short lines", readMs(lines, rounds));
    std::printf("  %-40s %8.1f ms\n", "one line of 10 MB spaces before a key",
                readMs(oneLine, rounds));
    std::printf("  %-40s %8.1f ms\n", "a 10 MB value (fails as too long)",
                readMs(longValue, rounds));
    std::printf("  %-40s %8.3f ms\n", "the example file",
                readMs("' colours\r\nMozi=14\r\nback=1\r\n   Port=2\r\nKando=30\r\n", rounds));
    return 0;
}

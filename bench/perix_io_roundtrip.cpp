#include "link/PerixIo.h"
#include "link/QtSerialLink.h"
#include "sim/PtyBox.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

// How long one PerixInput takes against the box on a pseudo-terminal: the
// program's own share of the reply wait, without a real line's 2 ms.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    PtyBox box([] { return 200; });
    QtSerialLink link([&](int) { return box.slavePath(); });
    link.open();
    ProgramValues v;
    PerixIo io(v, link);

    constexpr int Reads = 2000;
    std::vector<double> micros;
    micros.reserve(Reads);
    for (int i = 0; i < Reads; ++i) {
        v.ChannelNo = std::int16_t(1 + i % 3);
        QElapsedTimer t;
        t.start();
        io.PerixInput();
        micros.push_back(double(t.nsecsElapsed()) / 1000.0);
    }
    std::sort(micros.begin(), micros.end());
    std::printf("PerixInput over a pseudo-terminal, %d reads: median %.0f us, 99th percentile "
                "%.0f us, worst %.0f us (reply wait bound %d ms)\n",
                Reads, micros[Reads / 2], micros[Reads * 99 / 100], micros.back(),
                PerixIo::ReplyWaitMs);
    return 0;
}

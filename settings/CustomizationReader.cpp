#include "CustomizationReader.h"

#include "LineSplitter.h"
#include "SettingLine.h"

#include <QIODevice>

void readCustomization(QIODevice& file, ProgramValues& v) {
    LineSplitter lines(SettingLineDecisiveLength, [&v](QByteArrayView line) {
        return applySettingLine(line, v) == LineOutcome::Continue;
    });
    QByteArray piece(64 * 1024, Qt::Uninitialized);
    for (;;) {
        const qint64 got = file.read(piece.data(), piece.size());
        if (got < 0)
            return;
        if (got == 0)
            break;
        if (!lines.feed(QByteArrayView(piece.constData(), got)))
            return;
    }
    lines.finish();
}

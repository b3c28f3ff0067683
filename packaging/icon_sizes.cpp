// Draws the program's icon in the sizes desktops look for, from the one
// design in resources/tolvane.xpm, into a hicolor-style tree:
//   icon_sizes DESIGN OUTPUT-FOLDER SIZE...
// writes OUTPUT-FOLDER/SIZExSIZE/apps/tolvane.png for each SIZE.
#include <QDir>
#include <QImage>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fputs("usage: icon_sizes DESIGN OUTPUT-FOLDER SIZE...\n", stderr);
        return 2;
    }
    const QImage design(QString::fromLocal8Bit(argv[1]));
    if (design.isNull()) {
        std::fprintf(stderr, "icon_sizes: cannot read %s\n", argv[1]);
        return 1;
    }
    const QDir out(QString::fromLocal8Bit(argv[2]));
    for (int i = 3; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        if (size < 1) {
            std::fprintf(stderr, "icon_sizes: not a size: %s\n", argv[i]);
            return 2;
        }
        // Whole multiples keep the drawing's sharp pixels; other sizes are
        // smoothed so that no line vanishes.
        const bool multiple = size % design.width() == 0;
        const QImage icon =
            design.convertToFormat(QImage::Format_ARGB32)
                .scaled(size, size, Qt::KeepAspectRatio,
                        multiple ? Qt::FastTransformation : Qt::SmoothTransformation);
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        const QString file = out.filePath(folder + QStringLiteral("/tolvane.png"));
        if (!out.mkpath(folder) || !icon.save(file, "PNG")) {
            std::fprintf(stderr, "icon_sizes: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}

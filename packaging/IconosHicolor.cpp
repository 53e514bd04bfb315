// Draws the program's SVG icon into the PNG sizes of the desktop's icon theme:
// senderal_iconos ICON.svg OUTPUT_DIR SIZE... writes OUTPUT_DIR/SIZExSIZE/senderal.png.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: senderal_iconos ICON.svg OUTPUT_DIR SIZE...\n");
        return 2;
    }
    QSvgRenderer svg(args[1]);
    if (!svg.isValid()) {
        std::fprintf(stderr, "senderal_iconos: cannot read %s\n", qPrintable(args[1]));
        return 1;
    }
    for (const QString& text : args.mid(3)) {
        const int size = text.toInt();
        if (size <= 0) {
            std::fprintf(stderr, "senderal_iconos: bad size %s\n", qPrintable(text));
            return 1;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
        painter.end();
        const QString folder = QStringLiteral("%1/%2x%2").arg(args[2]).arg(size);
        QDir().mkpath(folder);
        if (!image.save(folder + QStringLiteral("/senderal.png"))) {
            std::fprintf(stderr, "senderal_iconos: cannot write %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}

// picrender SOURCE.svg WxH:OUT.png [WxH:OUT.png ...]
// Renders one SVG picture to one or more PNG files of the given pixel sizes
// ("24" means 24x24; "0" keeps the picture's own size).
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: picrender source.svg WxH:out.png ...\n");
        return 2;
    }
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "picrender: cannot read %s\n", argv[1]);
        return 1;
    }
    for (int i = 2; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        const int colon = arg.indexOf(QLatin1Char(':'));
        if (colon <= 0) {
            std::fprintf(stderr, "picrender: bad target %s\n", argv[i]);
            return 2;
        }
        const QString sizeText = arg.left(colon);
        const QString out = arg.mid(colon + 1);
        QSize size;
        const int x = sizeText.indexOf(QLatin1Char('x'));
        if (x > 0)
            size = QSize(sizeText.left(x).toInt(), sizeText.mid(x + 1).toInt());
        else
            size = QSize(sizeText.toInt(), sizeText.toInt());
        if (size.width() <= 0 || size.height() <= 0)
            size = svg.defaultSize();
        QImage img(size, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        {
            QPainter p(&img);
            p.setRenderHint(QPainter::Antialiasing);
            svg.render(&p, QRectF(QPointF(0, 0), QSizeF(size)));
        }
        QDir().mkpath(QFileInfo(out).absolutePath());
        if (!img.convertToFormat(QImage::Format_ARGB32).save(out, "PNG")) {
            std::fprintf(stderr, "picrender: cannot write %s\n", qPrintable(out));
            return 1;
        }
    }
    return 0;
}

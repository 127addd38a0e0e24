// lumora-icons OUTDIR: writes the installed icons, painted by the window's own icon code: OUTDIR/lumora.svg
// and OUTDIR/<N>x<N>/lumora.png for each size the desktop's icon theme looks for.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <cstdio>

#include "app/appicon.h"

int main(int argc, char** argv) {
    // Painting needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fputs("usage: lumora-icons OUTDIR\n", stderr);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);

    const int kSvgSize = 256;
    QSvgGenerator svg;
    svg.setFileName(out + QStringLiteral("/lumora.svg"));
    svg.setSize(QSize(kSvgSize, kSvgSize));
    svg.setViewBox(QRect(0, 0, kSvgSize, kSvgSize));
    svg.setTitle(QStringLiteral("Lumora"));
    svg.setDescription(QStringLiteral("An open book under a crescent"));
    {
        QPainter painter(&svg);
        lumora::AppIcon::paint(painter, kSvgSize);
    }

    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = out + QStringLiteral("/%1x%1").arg(size);
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            lumora::AppIcon::paint(painter, size);
        }
        if (!QDir().mkpath(folder) || !image.save(folder + QStringLiteral("/lumora.png"))) {
            std::fprintf(stderr, "lumora-icons: cannot write %s\n", folder.toLocal8Bit().constData());
            return 1;
        }
    }
    return QFileInfo::exists(out + QStringLiteral("/lumora.svg")) ? 0 : 1;
}
